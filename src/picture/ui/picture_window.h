#pragma once

#include "picture/canvas.h"
#include "picture/download_cycle.h"
#include "picture/download_view.h"
#include "picture/graticule_choice.h"
#include "picture/ui/picture_surface.h"
#include "ui/window_loops.h"

#include <QWidget>

#include <functional>
#include <string_view>

class QPushButton;

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::link {
class PollSwitch;
class SerialLink;
} // namespace orvanta::link

namespace orvanta::print {
class PrinterTarget;
}

namespace orvanta::picture {

class PictureArea;

// The picture window, "Download": loaded hidden at start-up, shown from
// "&Download" with the status poll stopped; its Exit and its close box give
// the poll back.
class PictureWindow : public QWidget, public PictureSurface, private DownloadView
{
    Q_OBJECT

public:
    // The conversion's file, in the working folder, overwritten each time.
    static inline const QString kConversionFile = QStringLiteral("tempbw.bmp");

    // printer: where "Print  Frame" prints; showFiles: shows the picture files window.
    PictureWindow(link::SerialLink &link, messages::Notifier &notifier, link::PollSwitch &poll,
        print::PrinterTarget &printer, std::function<void()> showFiles = {},
        const QString &graticuleFolder = kGraticuleFolder.toString(), QWidget *parent = nullptr);

    QPushButton *button(std::string_view name) const;
    PictureArea *pictureArea() const { return picture_; }
    Canvas &canvas() override { return canvas_; }
    void canvasReplaced() override;
    DownloadCycle &cycle() { return cycle_; }

    void cmdDownload_Click();
    void cmdAbort_Click();
    void cmdContinuous_Click();
    void cmdConvert_Click();
    void cmdPrint_Click();
    void cmdGetBMP_Click();
    void cmdClear_Click();
    void cmdExit_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    // Convert and Print: now, or once the picture under way is whole.
    void afterTheDownload(void (PictureWindow::*action)());
    void runDeferred();
    void convert();
    void print();
    void setBusy(bool busy) override;
    void pictureChanged() override;
    void rowsChanged(int first, int last) override;
    // The client area, scaled to fit the page; false if it could not be printed.
    bool printClientArea();

    link::SerialLink &link_;
    messages::Notifier &notifier_;
    print::PrinterTarget &printer_;
    std::function<void()> showFiles_;
    QString graticuleFolder_;
    Canvas canvas_;
    DownloadCycle cycle_;
    PictureArea *picture_ = nullptr;
    ui::WindowLoops loops_;
    link::SingleRun downloading_;
    QList<void (PictureWindow::*)()> deferred_;
};

} // namespace orvanta::picture

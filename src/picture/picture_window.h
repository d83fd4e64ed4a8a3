#pragma once

#include "link/window_loops.h"
#include "picture/canvas.h"
#include "picture/download_cycle.h"
#include "picture/graticule_choice.h"

#include <QWidget>

class QPushButton;

namespace orvanta::link {
class Notifier;
class PollSwitch;
class SerialLink;
} // namespace orvanta::link

namespace orvanta::picture {

class PictureArea;

// The picture window, "Download": loaded hidden at start-up, shown from
// "&Download" with the status poll stopped; its Exit and its close box give
// the poll back.
class PictureWindow : public QWidget
{
    Q_OBJECT

public:
    PictureWindow(link::SerialLink &link, link::Notifier &notifier, link::PollSwitch &poll,
        const QString &graticuleFolder = kGraticuleFolder.toString(), QWidget *parent = nullptr);

    QPushButton *button(QStringView name) const;
    PictureArea *pictureArea() const { return picture_; }
    Canvas &canvas() { return canvas_; }
    DownloadCycle &cycle() { return cycle_; }

    void cmdDownload_Click();
    void cmdExit_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();

    link::SerialLink &link_;
    link::Notifier &notifier_;
    QString graticuleFolder_;
    Canvas canvas_;
    DownloadCycle cycle_;
    PictureArea *picture_ = nullptr;
    link::WindowLoops loops_;
    link::SingleRun downloading_;
};

} // namespace orvanta::picture

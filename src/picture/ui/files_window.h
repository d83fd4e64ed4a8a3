#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::picture {

class DirectoryList;
class FileList;
class PictureSurface;

// "File Organisation": stores the picture as a BMP file or shows a stored one.
// Loaded hidden at start-up and after that only hidden, so the name typed and
// the folder chosen stay for next time.
class FilesWindow : public QWidget
{
    Q_OBJECT

public:
    // The picture window whose canvas is stored or replaced, asked for afresh
    // at each store and display: the one there is then, loaded if need be.
    using SurfaceSource = std::function<PictureSurface *()>;

    FilesWindow(messages::Notifier &notifier, SurfaceSource surface, QWidget *parent = nullptr);

    void cmdStoreFile_Click();
    void cmdDispFile_Click();
    void cmdCancelFile_Click();
    void Dir1_Change();
    void Drive1_Change();

    QLineEdit *text1() const { return Text1_; }
    QComboBox *drive1() const { return Drive1_; }
    DirectoryList *dir1() const { return Dir1_; }
    FileList *file1() const { return File1_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void build();

    messages::Notifier &notifier_;
    SurfaceSource surface_;
    QLineEdit *Text1_ = nullptr;
    QComboBox *Drive1_ = nullptr;
    DirectoryList *Dir1_ = nullptr;
    FileList *File1_ = nullptr;
    // The drive the directory list is on: a drive that cannot be read goes back to it.
    int driveShown_ = -1;
};

} // namespace orvanta::picture

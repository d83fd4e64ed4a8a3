#pragma once

#include <QListWidget>

namespace orvanta::picture {

// File1: the pictures in one folder, "*.bmp" in any case.
class FileList : public QListWidget
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);

    const QString &path() const { return path_; }
    void setPath(const QString &path);
    // Reads the folder again, keeping the selection while its file is there.
    void refresh();
    // Empty when no file is selected.
    QString selectedName() const;

private:
    QString path_;
};

} // namespace orvanta::picture

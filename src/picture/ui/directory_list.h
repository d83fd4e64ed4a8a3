#pragma once

#include <QListWidget>

namespace orvanta::picture {

// Dir1: a folder, its parents above it and its subfolders below; activating
// an entry (double click, Enter) moves there.
class DirectoryList : public QListWidget
{
    Q_OBJECT

public:
    explicit DirectoryList(QWidget *parent = nullptr);

    const QString &path() const { return path_; }
    // False, with nothing changed, when the folder cannot be read.
    bool setPath(const QString &path);

signals:
    void pathChanged(const QString &path);

private:
    void fill();

    QString path_;
};

} // namespace orvanta::picture

#pragma once

#include <QWidget>

namespace orvanta::picture {

// "File Organisation": stores the picture as a BMP file or shows a stored one.
class FilesWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FilesWindow(QWidget *parent = nullptr);
};

} // namespace orvanta::picture

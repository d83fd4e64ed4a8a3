#pragma once

#include <QWidget>

namespace orvanta::picture {

// The picture window, "Download": loaded hidden at start-up, shown from "&Download".
class UploadWindow : public QWidget
{
    Q_OBJECT

public:
    explicit UploadWindow(QWidget *parent = nullptr);
};

} // namespace orvanta::picture

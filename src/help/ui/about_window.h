#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace orvanta::help {

// "About Brellin Orvanta": the version box, shown from "Help About". "OK"
// only hides it; the version and copyright captions are set on every opening.
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *lblVersion_ = nullptr;
    QLabel *lblCopyright_ = nullptr;
};

} // namespace orvanta::help

#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace orvanta::panel {

// One of the program's other windows. It is loaded (created, running its own
// load handling) hidden at start-up; its close box unloads it, and the next
// showing loads it afresh.
class WindowSlot
{
public:
    using Factory = std::function<QWidget *()>;

    WindowSlot(QString name, Factory factory);
    ~WindowSlot();
    WindowSlot(const WindowSlot &) = delete;
    WindowSlot &operator=(const WindowSlot &) = delete;

    // False when the window could not be created.
    bool load();
    bool show();
    void hide();

    bool loaded() const { return !window_.isNull(); }
    QWidget *window() const { return window_.data(); }
    const QString &name() const { return name_; }

private:
    QString name_;
    Factory factory_;
    QPointer<QWidget> window_;
};

} // namespace orvanta::panel

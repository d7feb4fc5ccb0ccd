// The status bar: panels numbered from 1, each a text. A new bar has one panel.
#pragma once

#include <QStatusBar>
#include <deque>

class QLabel;

namespace ui {

class StatusBar;

class Panel {
public:
    QString Text() const;
    void setText(const QString& text);
    int Index() const { return index_; }
    QLabel* label() const { return label_; }

private:
    friend class StatusBar;
    Panel(QLabel* label, int index) : label_(label), index_(index) {}
    QLabel* label_;
    int index_;
};

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(const QString& objectName, QWidget* parent = nullptr);

    Panel* addPanel(const QString& text = {});
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    // 1-based; raises 35600 when there is no such panel.
    Panel* Panels(int index);

private:
    std::deque<Panel> panels_;   // stable addresses: callers keep Panel pointers
};

} // namespace ui

#pragma once
// The runtime's timer control: while Enabled and with an Interval above 0
// it raises its Timer event, the signal Tick (a member cannot bear its
// class's name), every Interval milliseconds. Enabling it, or setting its
// Interval, starts the count anew. It is a control of its form (an
// invisible widget of the layout) and ends with the form's window.
#include <QTimer>
#include <QWidget>

class Timer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)

public:
    explicit Timer(QWidget *parent = nullptr);

    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool Enabled() const { return m_enabled; }
    // Hides QWidget::setEnabled on purpose: a timer is switched, not greyed.
    void setEnabled(bool enabled);

signals:
    void Tick();

private:
    void restart();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

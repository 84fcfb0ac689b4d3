#pragma once
// The runtime's label control: a caption of plain text.
#include <QLabel>
#include <QString>

class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
};

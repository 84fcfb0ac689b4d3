#pragma once
// The runtime's check box, Value vbUnchecked (0) or vbChecked (1). Click is
// raised whenever Value changes, by the user or by the program. In the
// graphical style it looks like a command button that stays pressed while
// checked, showing Picture while unchecked and DownPicture while checked.
#include "runtime/control.h"
#include "runtime/graphicalbutton.h"

#include <QImage>
#include <QString>

#include <cstdint>

enum CheckBoxConstants : std::int16_t { vbUnchecked = 0, vbChecked = 1 };

class CheckBox : public GraphicalButton, public Control<CheckBox> {
    Q_OBJECT
    Q_PROPERTY(QString DownPictureFile READ DownPictureFile WRITE setDownPictureFile)
    Q_PROPERTY(int Value READ Value WRITE setValue)

public:
    explicit CheckBox(QWidget *parent = nullptr);

    // 0 or 1; any other value set counts as checked.
    std::int16_t Value() const { return isChecked() ? vbChecked : vbUnchecked; }
    void setValue(int value);
    QImage DownPicture() const { return m_downPicture; }
    void setDownPicture(const QImage &picture);
    QString DownPictureFile() const { return m_downPictureFile; }
    void setDownPictureFile(const QString &path);

    void CopyFrom(const CheckBox &other);

protected:
    QImage shownPicture() const override;

private:
    QImage m_downPicture;
    QString m_downPictureFile;
};

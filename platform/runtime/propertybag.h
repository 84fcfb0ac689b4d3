#pragma once
// The property bag of a window layout: the saved properties of a control
// that the layout holds. A value equal to its default is not written, so a
// bag holds only what differs from the control's defaults.
#include <QMap>
#include <QString>
#include <QVariant>

class QObject;

class PropertyBag {
public:
    PropertyBag() = default;

    // The stored value, or defaultValue when none is stored.
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = QVariant()) const;
    // Stores value; a value equal to defaultValue removes the entry instead.
    void WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = QVariant());

    bool Contains(const QString &name) const { return m_values.contains(name); }
    QStringList Names() const { return m_values.keys(); }

    // The dynamic properties a layout file gave the object.
    static PropertyBag FromDynamicProperties(const QObject &object);

private:
    QMap<QString, QVariant> m_values;
};

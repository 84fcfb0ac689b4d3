#include "runtime/propertybag.h"

#include <QObject>

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    const auto it = m_values.constFind(name);
    if (it == m_values.constEnd())
        return defaultValue;
    // A layout stores its values as text; read them as the default's type.
    QVariant value = *it;
    if (defaultValue.isValid() && value.metaType() != defaultValue.metaType()) {
        if (defaultValue.metaType().id() == QMetaType::Bool && value.metaType().id() == QMetaType::QString) {
            const QString text = value.toString().trimmed().toLower();
            return text == QLatin1String("true") || text == QLatin1String("-1") || text == QLatin1String("1");
        }
        if (value.canConvert(defaultValue.metaType()) && value.convert(defaultValue.metaType()))
            return value;
        return defaultValue;
    }
    return value;
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    if (defaultValue.isValid() && value == defaultValue)
        m_values.remove(name);
    else
        m_values.insert(name, value);
}

PropertyBag PropertyBag::FromDynamicProperties(const QObject &object)
{
    PropertyBag bag;
    for (const QByteArray &name : object.dynamicPropertyNames())
        bag.m_values.insert(QString::fromUtf8(name), object.property(name.constData()));
    return bag;
}

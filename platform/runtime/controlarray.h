#pragma once
// A control array: the controls of a layout named <name>_<index> (for
// example lblName_0, lblName_1), reached by index, with elements created at
// run time as copies of element 0. Event handlers are connected once for
// the whole array and reach every element, also the ones created later,
// with the element's index as their first argument.
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <stdexcept>

template <class T>
class ControlArray {
public:
    ControlArray() = default;

    // Gathers the children of window named name_<n>; each gets its index
    // as the property "Index".
    void Collect(QWidget *window, const QString &name)
    {
        m_elements.clear();
        m_binders.clear();
        const QString prefix = name + QLatin1Char('_');
        for (T *w : window->findChildren<T *>()) {
            if (!w->objectName().startsWith(prefix))
                continue;
            bool ok = false;
            const int index = w->objectName().mid(prefix.size()).toInt(&ok);
            if (!ok)
                continue;
            w->setProperty("Index", index);
            m_elements.insert(index, w);
        }
    }

    T &operator()(int index) const
    {
        const auto it = m_elements.constFind(index);
        if (it == m_elements.constEnd() || it->isNull())
            throw std::out_of_range("control array element does not exist");
        return **it;
    }
    bool Exists(int index) const { return m_elements.contains(index) && !m_elements.value(index).isNull(); }
    int LBound() const { return m_elements.isEmpty() ? 0 : m_elements.firstKey(); }
    int UBound() const { return m_elements.isEmpty() ? -1 : m_elements.lastKey(); }
    int Count() const { return static_cast<int>(m_elements.size()); }

    // Creates element index as a copy of element 0 (same parent, measures,
    // font, colours, text, pictures, tooltip), hidden, and connects the
    // array's handlers to it. T::CopyFrom(const T &) copies the control's
    // own properties.
    T &Load(int index)
    {
        if (Exists(index))
            throw std::invalid_argument("control array element already exists");
        T &first = (*this)(0);
        auto *element = new T(first.parentWidget());
        element->setObjectName(first.objectName().section(QLatin1Char('_'), 0, -2) + QLatin1Char('_') + QString::number(index));
        element->setProperty("Index", index);
        element->setGeometry(first.geometry());
        element->setFont(first.font());
        element->setToolTip(first.toolTip());
        element->setEnabled(first.isEnabled());
        element->CopyFrom(first);
        element->hide();
        m_elements.insert(index, element);
        for (const auto &bind : m_binders)
            bind(element, static_cast<std::int16_t>(index));
        return *element;
    }

    // Connects signal of every element, present and future, to handler,
    // which takes the element's index first: handler(Index, args...).
    template <class Signal, class Handler>
    void on(Signal signal, Handler handler)
    {
        bindAll([signal, handler](T *element, std::int16_t index) {
            QObject::connect(element, signal, element, [handler, index](auto &&...args) {
                handler(index, std::forward<decltype(args)>(args)...);
            });
        });
    }

    // The same with a member of receiver as the handler; the connections
    // end with the receiver, or when it drops them.
    template <class Signal, class Receiver, class... Args>
    void on(Signal signal, Receiver *receiver, void (Receiver::*member)(std::int16_t, Args...))
    {
        bindAll([signal, receiver, member](T *element, std::int16_t index) {
            QObject::connect(element, signal, receiver, [receiver, member, index](Args... args) {
                (receiver->*member)(index, args...);
            });
        });
    }

private:
    // Connects the present elements now and the later ones when loaded.
    void bindAll(std::function<void(T *, std::int16_t)> bind)
    {
        for (auto it = m_elements.cbegin(); it != m_elements.cend(); ++it)
            if (*it)
                bind(it->data(), static_cast<std::int16_t>(it.key()));
        m_binders.append(std::move(bind));
    }

    QMap<int, QPointer<T>> m_elements;
    QList<std::function<void(T *, std::int16_t)>> m_binders;
};

#include "runtime/doevents.h"

#include <QCoreApplication>

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

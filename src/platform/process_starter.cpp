#include "platform/process_starter.h"

#include <QProcess>

namespace warizan {

bool SystemProcessStarter::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

} // namespace warizan

#include "state/program_identity.h"

#include <QDir>

namespace warizan {

QString contentTitle() {
    return QStringLiteral("あまりのあるわり算");
}

QString launcherPath(const QString& programFolder) {
    const QString sep = QDir::separator();
    return programFolder + sep + QStringLiteral("..") + sep + QStringLiteral("起動") + sep +
           executableFileName(QStringLiteral("ハコブネ"));
}

bool startLauncher(const Configuration& config, ProcessStarter& starter) {
    return starter.startDetached(launcherPath(config.programFolder), {QStringLiteral("001")});
}

} // namespace warizan

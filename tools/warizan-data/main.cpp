// warizan-data: reads and writes the drill's data folders with the program's own code, for parents,
// teachers and scripts.

#include "commands.h"
#include "tool_support.h"

#include <QCoreApplication>
#include <functional>
#include <map>

namespace {

void usage() {
    warizan::tool::err() << QStringLiteral(
        "使い方: warizan-data <コマンド> --program-folder DIR [オプション]\n"
        "  config   設定を読み、JSON で表示します\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 2;
    }
    const std::map<QString, std::function<int(const QStringList&)>> commands = {
        {QStringLiteral("config"), warizan::tool::configCommand},
    };
    const QString word = args.takeFirst();
    const auto it = commands.find(word);
    if (it == commands.end()) {
        warizan::tool::err() << QStringLiteral("知らないコマンドです: %1").arg(word) << Qt::endl;
        usage();
        return 2;
    }
    return it->second(args);
}

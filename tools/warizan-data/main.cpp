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
        "  config   設定を読み、JSON で表示します\n"
        "  figures  成績を数え、全員の回数・ポイント・最高記録を JSON で表示します [--today YYYY-MM-DD]\n"
        "  append   1回分の成績を書き足します --pupil P --level L --result 秒 [--today ..] [--now HH:MM:SS]\n"
        "  pupils   名前の一覧を表示します [--today ..] [--mode 0-3] [--filter 全学年]\n"
        "  export   成績ファイルの全記録を CSV で出力します\n"
        "  check    設定・名簿・成績ファイルを調べ、問題を報告します（何も変えません）\n");
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
        {QStringLiteral("figures"), warizan::tool::figuresCommand},
        {QStringLiteral("append"), warizan::tool::appendCommand},
        {QStringLiteral("pupils"), warizan::tool::pupilsCommand},
        {QStringLiteral("export"), warizan::tool::exportCommand},
        {QStringLiteral("check"), warizan::tool::checkCommand},
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

#include "checks.h"
#include "tool_support.h"

namespace warizan::tool {

namespace {

int run(const CommandLine&, ToolContext& tool) {
    const Configuration& config = tool.state->config;
    QStringList problems;
    for (const Findings& found : {checkSettings(*tool.state, tool.sources), checkRoster(config),
                                  checkScoreFiles(config), checkAnswerLog(config)}) {
        for (const QString& note : found.notes)
            out() << note << Qt::endl;
        problems += found.problems;
    }
    if (problems.isEmpty()) {
        out() << QStringLiteral("問題は見つかりませんでした。") << Qt::endl;
        return 0;
    }
    out() << QStringLiteral("見つかった問題: %1 件").arg(problems.size()) << Qt::endl;
    for (const QString& p : problems)
        out() << QStringLiteral("・") << p << Qt::endl;
    return 1;
}

} // namespace

const Command& checkCommand() {
    static const Command command{
        .name = QStringLiteral("check"),
        .summary =
            QStringLiteral("設定・名簿・成績ファイル・解答記録を調べ、問題を報告します（何も変えません）"),
        .details = QStringLiteral("問題がなければ終了コード 0、見つかれば 1 で終わります。"),
        .options = {programFolderOption()},
        .run = run,
        .unreadableConfigurationNote = QStringLiteral("設定を読めません。上のメッセージを見てください。")};
    return command;
}

} // namespace warizan::tool

// Another copy of the program saving the roster over and over, for the test that kills it part-way: each
// round writes the first three names as "A" names, or as "B" names when they are "A" names already, through
// the editor's own save, so every save changes the roster.
// Before each save it prints one line, so the test knows saves are under way. It runs until it is killed.

#include "roster/roster_save.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2)
        return 2;
    for (;;) {
        std::vector<warizan::RosterEntry> entries;
        if (!warizan::readRosterFile(args[1], &entries, nullptr, nullptr) || entries.empty())
            return 1;
        const QString prefix = entries[0].name.startsWith(u'A') ? QStringLiteral("B") : QStringLiteral("A");
        std::vector<warizan::RosterRowEdit> rows;
        for (int row = 1; row <= warizan::kEditorRows; ++row)
            rows.push_back({prefix + QStringLiteral("なまえ%1").arg(row), QString::number(2010 + row)});
        std::fputs("saving\n", stdout);
        std::fflush(stdout);
        warizan::RosterSaveError error;
        if (!warizan::saveRosterEdits(args[1], rows, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message));
            return 1;
        }
    }
}

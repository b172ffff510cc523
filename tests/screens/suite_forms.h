#pragma once

#include "records/score_file.h"
#include "records/score_record.h"
#include "screens/design_form.h"
#include "startup/configuration.h"
#include "test_forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

namespace warizan::test {

// The program's forms started up on a suite folder, as the entry starts them. The level menu is a plain
// page here: the tests see that it was shown, not what it shows.
struct SuiteForms {
    // `demoFolder`: a copy of that folder is the suite (its program folder "warizan"); otherwise a
    // TempSuite with `roster` as its roster.
    explicit SuiteForms(const QString& roster, const QString& demoFolder = {}) {
        QString programFolder = suite.programFolder();
        if (!demoFolder.isEmpty()) {
            copyFolder(demoFolder, demo.path());
            programFolder = demo.filePath(QStringLiteral("warizan"));
        } else {
            suite.writeRoster(roster);
        }
        ConfigurationError error;
        if (!StartUpConfiguration(*forms.test.state, programFolder, &error))
            qFatal("start-up failed: %s", qPrintable(error.message));
        forms.window.setFactory(FormId::seisekitime1, [] {
            auto* menu = new DesignForm(0xFFFFFF);
            menu->setObjectName(QStringLiteral("seisekitime1"));
            return menu;
        });
    }

    const Configuration& config() const { return forms.test.state->config; }
    QString rosterPath() const { return config().commonFolder + QStringLiteral("生徒用名簿.txt"); }

    // `runs` finished drills of `pupil` on `level` with `result` seconds, on `date`.
    void appendRuns(const QDate& date, int pupil, int level, int result, int runs) const {
        QFile file(scoreFilePath(config()));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            qFatal("cannot append to the score file");
        for (int i = 0; i < runs; ++i)
            file.write(encodeScoreRecord(
                makeScoreRecord(config(), date, QTime(9, 0, i % 60), qint16(pupil), qint16(level), result)));
    }

    // Forms unloaded by a handler are deleted once it has returned.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void copyFolder(const QString& from, const QString& to) {
        QDir source(from);
        QDir().mkpath(to);
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), to + u'/' + name);
        for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            copyFolder(source.filePath(name), to + u'/' + name);
    }

    TempSuite suite;
    QTemporaryDir demo;
    TestForms forms;
};

} // namespace warizan::test

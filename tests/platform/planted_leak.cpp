// A test slot that leaks on purpose: CTest expects it to fail, which shows that the suppressions of the
// leak checker do not hide leaks in test code.
#include <QtTest>

class PlantedLeak final : public QObject {
    Q_OBJECT
private slots:
    void leaks() {
        auto* lost = new QByteArray(64, 'x');
        QVERIFY(!lost->isEmpty());
        lost = nullptr;
    }
};

QTEST_GUILESS_MAIN(PlantedLeak)
#include "planted_leak.moc"

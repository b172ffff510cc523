// What Windows shows of the two executables, read back through Windows' own functions: the drill's icon,
// the project's version and names, and the manifest that keeps them sharp at every scale.
#include <QtTest>
#include <windows.h>

class ExecutableResourcesTest final : public QObject {
    Q_OBJECT
private slots:
    void carryIconVersionAndManifest_data();
    void carryIconVersionAndManifest();
};

namespace {

// A resource of the module, as bytes; empty when there is none.
QByteArray resource(HMODULE module, LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceW(module, name, type);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    return QByteArray(static_cast<const char*>(LockResource(loaded)), int(SizeofResource(module, found)));
}

BOOL CALLBACK firstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    *reinterpret_cast<LPWSTR*>(found) = name;
    return FALSE;
}

} // namespace

void ExecutableResourcesTest::carryIconVersionAndManifest_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("description");
    QTest::newRow("the program") << QStringLiteral(PROGRAM) << QStringLiteral("あまりのあるわり算");
    QTest::newRow("the data tool") << QStringLiteral(DATA_TOOL)
                                   << QStringLiteral("あまりのあるわり算 データツール");
}

void ExecutableResourcesTest::carryIconVersionAndManifest() {
    QFETCH(QString, path);
    QFETCH(QString, description);
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    QVERIFY(size > 0);
    QByteArray info(int(size), '\0');
    QVERIFY(GetFileVersionInfoW(file.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    QVERIFY(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed);
    QCOMPARE(fixed->dwFileVersionMS, DWORD(VERSION_MAJOR << 16 | VERSION_MINOR));
    QCOMPARE(fixed->dwFileVersionLS, DWORD(VERSION_PATCH << 16));
    const auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars) || !value)
            return QString();
        return QString::fromWCharArray(value);
    };
    QCOMPARE(text(L"ProductName"), QStringLiteral("あまりのあるわり算"));
    QCOMPARE(text(L"FileDescription"), description);
    QCOMPARE(text(L"ProductVersion"), QStringLiteral(VERSION_TEXT));

    HMODULE module =
        LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    QVERIFY(module);
    // The icon group Explorer shows: the first one, with a 256-pixel image among its sizes.
    LPWSTR group = nullptr;
    EnumResourceNamesW(module, RT_GROUP_ICON, firstName, reinterpret_cast<LONG_PTR>(&group));
    QVERIFY(group);
    const QByteArray directory = resource(module, RT_GROUP_ICON, group);
    QVERIFY(directory.size() >= 6 + 14);
    const int images = quint8(directory.at(4)) | quint8(directory.at(5)) << 8;
    bool large = false;
    for (int i = 0; i < images; ++i)
        large = large || quint8(directory.at(6 + 14 * i)) == 0; // width 0 stands for 256
    QVERIFY(large);
    const QByteArray manifest = resource(module, RT_MANIFEST, MAKEINTRESOURCEW(1));
    QVERIFY(manifest.contains("PerMonitorV2"));
    QVERIFY(manifest.contains("Microsoft.Windows.Common-Controls"));
    QVERIFY(manifest.contains("asInvoker"));
    FreeLibrary(module);
}

QTEST_GUILESS_MAIN(ExecutableResourcesTest)
#include "tst_executable_resources.moc"

// Movik installed as a desktop application: the desktop entry and the MIME type pass the
// freedesktop tools, the installed tree holds everything and its programs run, and the Debian
// package holds the same files.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

namespace {

const QString kSource = QStringLiteral(MOVIK_SOURCE_DIR);
const QString kBuild = QStringLiteral(MOVIK_BUILD_DIR);

struct Result {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

Result RunProgram(const QString& program, const QStringList& args,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                  int timeoutMs = 120000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    Result r;
    r.finished = p.waitForFinished(timeoutMs);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The commands that `movik-cli --help` lists ("  movik-cli NAME ...").
QStringList CliCommands(const QString& help) {
    QStringList commands;
    const QRegularExpression line(QStringLiteral("^\\s*movik-cli ([a-z]+)"),
                                  QRegularExpression::MultilineOption);
    for (const auto& m : line.globalMatch(help)) {
        commands << m.captured(1);
    }
    return commands;
}

TEST(DesktopFilesTest, DesktopEntryPassesTheValidator) {
    const Result r = RunProgram(QStringLiteral("desktop-file-validate"),
                                {kSource + QStringLiteral("/desktop/movik.desktop")});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_EQ(r.out + r.err, QString());
}

TEST(DesktopFilesTest, MimeDefinitionIsWellFormed) {
    QFile file(kSource + QStringLiteral("/desktop/movik.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("mime-info"));
    while (!xml.atEnd()) {
        xml.readNext();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

TEST(DesktopFilesTest, ManPageDescribesEveryCommandOfTheHelp) {
    const Result help = RunProgram(QStringLiteral(MOVIK_CLI), {QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    QFile page(kSource + QStringLiteral("/desktop/movik-cli.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString man = QString::fromUtf8(page.readAll());
    const QStringList commands = CliCommands(help.out);
    EXPECT_GE(commands.size(), 5);
    for (const QString& command : commands) {
        EXPECT_TRUE(man.contains(QStringLiteral(".B movik-cli ") + command))
            << command.toStdString();
        EXPECT_TRUE(man.contains(QStringLiteral(".B ") + command + QLatin1Char('\n')))
            << command.toStdString();
    }
}

// The software centres' description passes AppStream's own validator (no network).
TEST(DesktopFilesTest, AppStreamMetainfoIsValid) {
    const Result valid = RunProgram(
        QStringLiteral("appstreamcli"),
        {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"),
         kSource + QStringLiteral("/desktop/hr.movik.movik.metainfo.xml")});
    EXPECT_EQ(valid.exitCode, 0) << valid.out.toStdString() << valid.err.toStdString();
}

// The manual pages keep the Croatian letters readable whatever the terminal's locale: their own
// letters in UTF-8, the base letters where only ASCII can be shown (the C locale).
TEST(DesktopFilesTest, ManPagesReadInAnyLocale) {
    for (const char* page : {"movik.1", "movik-cli.1"}) {
        const QString path = kSource + QStringLiteral("/desktop/") + QString::fromLatin1(page);
        for (const char* locale : {"C", "C.UTF-8"}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
            env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("200"));
            const Result shown =
                RunProgram(QStringLiteral("man"), {QStringLiteral("-l"), path}, env);
            ASSERT_EQ(shown.exitCode, 0) << page << shown.err.toStdString();
            const bool utf8 = std::string(locale) == "C.UTF-8";
            EXPECT_TRUE(shown.out.contains(utf8 ? QStringLiteral("Korisničke naredbe")
                                                : QStringLiteral("Korisnicke naredbe")))
                << page << " " << locale;
            EXPECT_TRUE(shown.err.isEmpty()) << page << " " << locale << shown.err.toStdString();
        }
    }
}

// A private MIME database holding only the system's types and ours.
// A file of the test: its name and whether it holds a Movik document.
struct MimeCase {
    const char* name;
    bool movikHeader;
};
void PrintTo(const MimeCase& c, std::ostream* os) {
    *os << c.name;
}

class MimeTypeTest : public ::testing::TestWithParam<MimeCase> {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        const QString packages = dir_->path() + QStringLiteral("/share/mime/packages");
        QDir().mkpath(packages);
        QFile::copy(kSource + QStringLiteral("/desktop/movik.xml"),
                    packages + QStringLiteral("/movik.xml"));
        updated_ = RunProgram(QStringLiteral("update-mime-database"),
                              {dir_->path() + QStringLiteral("/share/mime")})
                       .exitCode == 0;
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static QString ContentType(const QString& path) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir_->path() + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_DATA_DIRS"),
                   dir_->path() + QStringLiteral("/share:/usr/share"));
        const Result r = RunProgram(QStringLiteral("gio"),
                                    {QStringLiteral("info"), QStringLiteral("-a"),
                                     QStringLiteral("standard::content-type"), path},
                                    env);
        const auto m = QRegularExpression(QStringLiteral("content-type: (\\S+)")).match(r.out);
        return m.hasMatch() ? m.captured(1) : r.err;
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline bool updated_ = false;
};

// File name and whether its content is a Movik document.
TEST_P(MimeTypeTest, RecognisedByNameOrByHeader) {
    ASSERT_TRUE(updated_);
    const auto [name, movikHeader] = GetParam();
    const QString path = dir_->path() + QLatin1Char('/') + QString::fromLatin1(name);
    if (movikHeader) {
        ASSERT_TRUE(QFile::copy(kSource + QStringLiteral("/examples/primjer.mvk"), path));
    } else {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(200, '\x07'));
    }
    const bool expectMovik = movikHeader || QString::fromLatin1(name).endsWith(".mvk");
    EXPECT_EQ(ContentType(path) == QStringLiteral("application/x-movik"), expectMovik)
        << name << ": " << ContentType(path).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, MimeTypeTest,
    ::testing::Values(MimeCase{"po-imenu.mvk", false}, MimeCase{"po-zaglavlju", true},
                      MimeCase{"po-zaglavlju.dat", true}, MimeCase{"nije-movik", false}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

// The project installed once into a temporary prefix.
class InstalledTreeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        prefix_ = std::make_unique<QTemporaryDir>();
        const Result r = RunProgram(
            QStringLiteral(CMAKE_COMMAND),
            {QStringLiteral("--install"), kBuild, QStringLiteral("--prefix"), prefix_->path()});
        installed_ = r.exitCode == 0;
        installLog_ = r.out + r.err;
    }
    static void TearDownTestSuite() { prefix_.reset(); }
    void SetUp() override { ASSERT_TRUE(installed_) << installLog_.toStdString(); }

    static QString Installed(const char* relative) {
        return prefix_->path() + QLatin1Char('/') + QString::fromLatin1(relative);
    }

    static inline std::unique_ptr<QTemporaryDir> prefix_;
    static inline bool installed_ = false;
    static inline QString installLog_;
};

TEST_F(InstalledTreeTest, HoldsEveryFileAtItsPlace) {
    for (const char* file :
         {"bin/movik", "bin/movik-cli", "share/applications/movik.desktop",
          "share/icons/hicolor/scalable/apps/movik.svg", "share/icons/hicolor/16x16/apps/movik.png",
          "share/icons/hicolor/256x256/apps/movik.png", "share/mime/packages/movik.xml",
          "share/man/man1/movik-cli.1.gz", "share/man/man1/movik.1.gz",
          // where the program looks for its help and its chart library
          "bin/../share/movik/help.hlp",
          "bin/../lib/" MOVIK_LIBRARY_ARCH "/movik/libmovik-charts.so",
          "bin/../lib/" MOVIK_LIBRARY_ARCH "/movik/movik-xls-reader"}) {
        EXPECT_TRUE(QFile::exists(Installed(file))) << file;
    }
}

TEST_F(InstalledTreeTest, ProgramsAnswerHelp) {
    for (const char* program : {"bin/movik", "bin/movik-cli"}) {
        const Result r = RunProgram(Installed(program), {QStringLiteral("--help")});
        EXPECT_EQ(r.exitCode, 0) << program << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("Uporaba"))) << program;
    }
}

// The installed movik-cli finds the installed .xls reader program and reads a form with it.
TEST_F(InstalledTreeTest, CliReadsAnXlsFormWithTheInstalledReader) {
    const Result r =
        RunProgram(Installed("bin/movik-cli"),
                   {QStringLiteral("summary"), QStringLiteral("--format"), QStringLiteral("csv"),
                    kSource + QStringLiteral("/examples/gfi-pod-2019.xls")});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Metalprerada"))) << r.out.toStdString();
}

TEST_F(InstalledTreeTest, ProgramStartsOffscreenAndKeepsRunning) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess movik;
    movik.setProcessEnvironment(env);
    movik.start(Installed("bin/movik"), {kSource + QStringLiteral("/examples/primjer.mvk")});
    ASSERT_TRUE(movik.waitForStarted());
    // A program that cannot start (missing library, plugin or crash) ends within this time.
    EXPECT_FALSE(movik.waitForFinished(3000))
        << "exit " << movik.exitCode() << ": " << movik.readAllStandardError().toStdString();
    movik.kill();
    movik.waitForFinished();
}

TEST(PackageTest, DebianPackageHoldsEverythingAndItsLibraries) {
    QTemporaryDir out;
    const Result pack =
        RunProgram(QStringLiteral(CPACK_COMMAND),
                   {QStringLiteral("--config"), kBuild + QStringLiteral("/CPackConfig.cmake"),
                    QStringLiteral("-B"), out.path()});
    ASSERT_EQ(pack.exitCode, 0) << pack.out.toStdString() << pack.err.toStdString();
    const QString deb = out.path() + QStringLiteral("/movik_1.0_amd64.deb");
    ASSERT_TRUE(QFile::exists(deb));

    const Result list = RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    for (const char* file :
         {"./usr/bin/movik", "./usr/bin/movik-cli", "./usr/share/applications/movik.desktop",
          "./usr/share/icons/hicolor/scalable/apps/movik.svg",
          "./usr/share/icons/hicolor/48x48/apps/movik.png", "./usr/share/mime/packages/movik.xml",
          "./usr/share/movik/help.hlp", "./usr/lib/" MOVIK_LIBRARY_ARCH "/movik/libmovik-charts.so",
          "./usr/lib/" MOVIK_LIBRARY_ARCH "/movik/movik-xls-reader",
          "./usr/share/metainfo/hr.movik.movik.metainfo.xml", "./usr/share/man/man1/movik-cli.1.gz",
          "./usr/share/doc/movik/copyright", "./usr/share/doc/movik/changelog.gz"}) {
        EXPECT_TRUE(list.out.contains(QString::fromLatin1(file) + QLatin1Char('\n'))) << file;
    }
    const Result depends = RunProgram(QStringLiteral("dpkg-deb"),
                                      {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    // A proportional sans face and Qt's Croatian translations on a bare install, too.
    for (const char* package : {"libqt6widgets6", "libqt6charts6", "libcups2", "libxlsxwriter4",
                                "fonts-dejavu-core", "qt6-translations-l10n"}) {
        EXPECT_TRUE(depends.out.contains(QString::fromLatin1(package)))
            << package << ": " << depends.out.toStdString();
    }
    // The chart library is loaded by path and needed by nothing: no ldconfig on install.
    const Result control = RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), deb});
    EXPECT_FALSE(control.out.contains(QStringLiteral("postinst"))) << control.out.toStdString();
    EXPECT_FALSE(control.out.contains(QStringLiteral("postrm"))) << control.out.toStdString();
    if (QFile::exists(QStringLiteral("/usr/bin/lintian"))) {
        const Result lintian = RunProgram(QStringLiteral("lintian"), {deb});
        EXPECT_EQ(lintian.exitCode, 0) << lintian.out.toStdString() << lintian.err.toStdString();
        EXPECT_EQ(lintian.out.toStdString(), "");
    }
}

}  // namespace

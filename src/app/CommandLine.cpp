#include "CommandLine.h"

#include "QuillonVersion.h"
#include "store/CatalogueLocation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// Options of Qt's own that the application object reads later; accepted, not shown.
void acceptQtOptions(QCommandLineParser &parser)
{
    const QStringList withValue{
        u"platform"_s,    u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,   u"qwindowgeometry"_s,
        u"qwindowicon"_s, u"qwindowtitle"_s,       u"display"_s,       u"geometry"_s, u"session"_s,
        u"style"_s,       u"stylesheet"_s};
    const QStringList plain{u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"sync"_s};
    for (const QString &name : withValue) {
        QCommandLineOption option(name, QString(), u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : plain) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString description(const QString &programDir)
{
    return QCoreApplication::translate("CommandLine", "光盘索引库：为光盘、DVD 和文件夹建立索引，查找其中的文件。\n\n"
                                                      "光盘索引库文件：程序旁有 data 文件夹时为 %1（便携方式），"
                                                      "否则为每个用户自己的 %2；--catalogue 指定另一个。")
        .arg(QDir::toNativeSeparators(CatalogueLocation::portableFile(programDir)),
             QDir::toNativeSeparators(CatalogueLocation::userFile()));
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, const QString &programDir)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(description(programDir));
    const QCommandLineOption help({u"h"_s, u"help"_s}, tr("显示本帮助并退出。"));
    const QCommandLineOption version({u"v"_s, u"version"_s}, tr("显示版本并退出。"));
    const QCommandLineOption catalogue(u"catalogue"_s, tr("打开这个光盘索引库文件（文件必须已经存在）。"), tr("文件"));
    const QCommandLineOption cdImage(u"cd-image"_s, tr("把光盘映像当作一个光驱里的光盘（可以多次给出）。"), tr("映像"));
    parser.addOptions({help, version, catalogue, cdImage});
    acceptQtOptions(parser);

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.outcome = Outcome::Error;
        line.text = parser.errorText() + u'\n' + tr("使用 --help 查看可用的选项。") + u'\n';
        return line;
    }
    if (!parser.positionalArguments().isEmpty()) {
        line.outcome = Outcome::Error;
        line.text = tr("多余的参数：%1").arg(parser.positionalArguments().join(u' ')) + u'\n' +
                    tr("使用 --help 查看可用的选项。") + u'\n';
    } else if (parser.isSet(help)) {
        line.outcome = Outcome::Help;
        line.text = parser.helpText();
    } else if (parser.isSet(version)) {
        line.outcome = Outcome::Version;
        line.text = u"quillon " QUILLON_FILE_VERSION "\n"_s;
    }
    line.catalogueFile = parser.value(catalogue);
    return line;
}

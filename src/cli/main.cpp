// quillon-cli: the catalogue from the command line, with no window: list discs, files and
// categories, search, import a drive, folder or disc image, export a list.
#include "CliCommands.h"
#include "CliDiscDetails.h"
#include "CliOutput.h"
#include "CliSupport.h"
#include "CliVerify.h"
#include "QuillonVersion.h"
#include "language/Language.h"

#include <QCoreApplication>
#include <QMap>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

const char *const kUsage = QT_TRANSLATE_NOOP(
    "Cli", "用法：quillon-cli 命令 [选项] [参数]\n"
           "\n"
           "命令：\n"
           "  discs        列出光盘：名称、卷标、序列号、文件数（--lent 借出的，--where 文字）\n"
           "  files 光盘名  列出一张光盘的文件\n"
           "  show 光盘名   显示一张光盘的属性和导入的情况\n"
           "  edit 光盘名   修改位置、说明、关键词、名称和借出\n"
           "  search 文字   查找文件（--in name,size,date,path）\n"
           "  import       导入驱动器、文件夹或光盘映像（--checksums 同时计算校验值）\n"
           "  index        为整个光盘索引库建立搜索索引和拼音\n"
           "  export       把一张光盘的文件或查找结果导出为文本文件\n"
           "  update 光盘名  按来源在原处更新一张光盘（--dry-run 只列出差别，--all-folders 所有文件夹）\n"
           "  categories   列出扩展名类别和它们的文件掩码\n"
           "  checksums 光盘名  以 sha256sum 的格式列出一张光盘的校验值\n"
           "  copies [光盘名]  副本统计：只在一张光盘上有的文件（--single），几张光盘上都有的（--duplicates）\n"
           "  verify 光盘名  校验光盘：再读一遍，与光盘索引库比较（discs --due 列出需要检查的光盘）\n"
           "\n"
           "每个命令都接受 --help、--catalogue 文件 和 --json，放在命令之前或之后都可以。\n"
           "输出：以 TAB 分隔的 UTF-8 文本，一行一条记录；字段中的 TAB、回车、换行和反斜杠写作 \\t \\r \\n \\\\，\n"
           "其他控制字符写作 \\x1b（C1 写作 \\u009b）。\n"
           "退出状态：0 完成，1 没有找到或被拒绝（verify：有不同），2 用法不对，3 光盘索引库无法打开或写入，\n"
           "4 有文件无法读取（verify）。\n");

void printUsage(FILE *stream)
{
    std::fputs(QCoreApplication::translate("Cli", kUsage).toUtf8().constData(), stream);
}

// The arguments with the options every command takes moved from before the command word
// to just behind it, where the command reads them, as git and apt take their global
// options: "--catalogue F --json discs" is "discs --catalogue F --json". Nothing else
// may stand before the command word; the first other argument is the command.
struct Invocation {
    QString command;
    QStringList arguments; // the command's name first
    bool help = false;     // --help before the command word
    bool version = false;
};

Invocation readInvocation(const QStringList &arguments)
{
    Invocation call;
    QStringList globals;
    qsizetype i = 1;
    for (; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--catalogue"_s && i + 1 < arguments.size())
            globals << argument << arguments.at(++i);
        else if (argument.startsWith(u"--catalogue="_s) || argument == u"--json"_s)
            globals << argument;
        else if (argument == u"--help"_s || argument == u"-h"_s)
            call.help = true;
        else if (argument == u"--version"_s || argument == u"-v"_s)
            call.version = true;
        else
            break;
    }
    call.command = arguments.value(i);
    call.arguments = QStringList{call.command} + globals + arguments.mid(i + 1);
    if (call.help)
        call.arguments.insert(1, u"--help"_s);
    return call;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"Quillon"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_FILE_VERSION));
    // The language of the program's window, chosen in its Language menu, also for Qt's
    // own texts of the commands' help ("用法：", "选项：").
    InterfaceLanguage::apply(InterfaceLanguage::saved());
    const Invocation call = readInvocation(QCoreApplication::arguments());
    const QString &command = call.command;
    if (command.isEmpty() && call.help) {
        printUsage(stdout);
        return CliSupport::finished(0);
    }
    if (command.isEmpty() && call.version) {
        std::puts("quillon-cli " QUILLON_FILE_VERSION);
        return CliSupport::finished(0);
    }
    const QMap<QString, std::function<int(const QStringList &)>> commands{
        {u"discs"_s, CliCommands::discs},       {u"files"_s, CliCommands::files},
        {u"search"_s, CliCommands::search},     {u"import"_s, CliCommands::import},
        {u"index"_s, CliCommands::index},       {u"show"_s, CliDiscDetails::show},
        {u"edit"_s, CliDiscDetails::edit},
        {u"export"_s, CliCommands::exportList}, {u"categories"_s, CliCommands::categories},
        {u"checksums"_s, CliCommands::checksums}, {u"copies"_s, CliCommands::copies},
        {u"update"_s, CliCommands::update},
        {u"verify"_s, CliVerify::verify},
    };
    const auto found = commands.find(command);
    if (found == commands.end()) {
        CliOutput::error(command.isEmpty() ? QCoreApplication::translate("Cli", "缺少命令")
                                           : QCoreApplication::translate("Cli", "没有这个命令：%1").arg(command));
        printUsage(stderr);
        return 2;
    }
    // The command's own parser sees the command's name where a program's name stands.
    return CliSupport::finished(found.value()(call.arguments));
}

#include "CdImageOption.h"

#include "drives/platform/Platform.h"
#include "drives/platform/formats/DiscImage.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {
const QString kOption = u"--cd-image"_s;

QString reason(DiscImage::Verdict verdict)
{
    switch (verdict) {
    case DiscImage::Verdict::Missing:
        return QCoreApplication::translate("CdImageOption", "文件不存在。");
    case DiscImage::Verdict::NotAFile:
        return QCoreApplication::translate("CdImageOption", "这不是一个文件。");
    case DiscImage::Verdict::Unreadable:
        return QCoreApplication::translate("CdImageOption", "文件无法打开读取。");
    case DiscImage::Verdict::NoVolume:
        return QCoreApplication::translate("CdImageOption", "文件中没有 ISO 9660、Joliet 或 UDF 卷，不是光盘映像。");
    case DiscImage::Verdict::Usable:
        break;
    }
    return QCoreApplication::translate("CdImageOption", "没有空闲的驱动器号了。");
}

CdImageOption::Failure failure(const QString &path)
{
    if (path.isEmpty())
        return {QCoreApplication::translate("CdImageOption", "命令行参数 %1 后缺少光盘映像文件的路径。").arg(kOption),
                QString()};
    return {QCoreApplication::translate("CdImageOption", "无法载入光盘映像：%1").arg(path),
            reason(DiscImage::check(path))};
}
} // namespace

namespace CdImageOption {

QStringList paths(const QStringList &arguments)
{
    QStringList result;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == kOption)
            result.append(i + 1 < arguments.size() ? arguments[++i] : QString());
        else if (argument.startsWith(kOption + u'='))
            result.append(argument.mid(kOption.size() + 1));
    }
    return result;
}

QList<Failure> attachAll(const QStringList &arguments, Platform &platform)
{
    QList<Failure> failures;
    for (const QString &path : paths(arguments)) {
        if (path.isEmpty() || !platform.attachImage(path))
            failures.append(failure(path));
    }
    return failures;
}

} // namespace CdImageOption

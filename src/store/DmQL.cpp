#include "DmQL.h"

#include "CatalogueLock.h"
#include "CompactionFolder.h"
#include "LCommBusiness.h"
#include "LCommFunction.h"
#include "Schema.h"
#include "SqliteCatalogue.h"
#include "Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString connectionNameFor(const void *module)
{
    return u"dmQL-%1"_s.arg(quintptr(module), 0, 16);
}

QString withSlash(const QString &dir)
{
    const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
    return clean.endsWith(u'/') ? clean : clean + u'/';
}

// Writes a file's and then its folder's data to the disk.
bool syncToDisk(const QString &path)
{
    for (const QString &target : {path, QFileInfo(path).absolutePath()}) {
        const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool synced = ::fsync(fd) == 0;
        ::close(fd);
        if (!synced)
            return false;
    }
    return true;
}

// A field's caption as stored: the Chinese source text, which the windows translate.
QString fieldLabel(const char *source)
{
    return QString::fromUtf8(source);
}

} // namespace

TdmQL::TdmQL(const QString &programDir, TLCommFunction &commFunction, TLCommBusiness &commBusiness, QObject *parent)
    : TdmQL(programDir, withSlash(programDir) + u"data/dbQL.mdb"_s, commFunction, commBusiness, parent)
{
}

TdmQL::TdmQL(const QString &programDir, const QString &catalogueFile, TLCommFunction &commFunction,
             TLCommBusiness &commBusiness, QObject *parent, Access access)
    : QObject(parent)
    , aConQl(connectionNameFor(this))
    , aqryTempFind(new TQuery(u"aqryTempFind"_s, aConQl.connectionName(), this))
    , aqryExtMt(new TQuery(u"aqryExtMt"_s, aConQl.connectionName(), this))
    , aqryExtDt(new TQuery(u"aqryExtDt"_s, aConQl.connectionName(), this))
    , aqryCdRomListDt(new TQuery(u"aqryCdRomListDt"_s, aConQl.connectionName(), this))
    , aqryCdRomListMt(new TQuery(u"aqryCdRomListMt"_s, aConQl.connectionName(), this))
    , aqryQuery(new TQuery(u"aqryQuery"_s, aConQl.connectionName(), this))
    , m_programDir(withSlash(programDir))
    , m_catalogueFile(QFileInfo(catalogueFile).absoluteFilePath())
    , m_commFunction(commFunction)
    , m_commBusiness(commBusiness)
    , m_access(access)
{
    m_catalogue = std::make_unique<SqliteCatalogue>(*this, commFunction);
    setObjectName(u"dmQL"_s);
    defineQueries();
    DataModuleCreate();
}

TdmQL::~TdmQL()
{
    DataModuleDestroy();
}

QString TdmQL::catalogueFile() const
{
    return m_catalogueFile;
}

void TdmQL::defineQueries()
{
    aqryExtMt->SQL() = {u"select extCode, extName "_s, u"  from extMt "_s, u"Order By extCode"_s};
    aqryExtMt->setUpdateTable(u"extMt"_s, u"extCode"_s);

    aqryExtDt->SQL() = {u"select extCode, extDetailInfo "_s, u"  from extDt "_s, u"  Where extCode = ?"_s};
    aqryExtDt->Params() = {QVariant()};
    aqryExtDt->setUpdateTable(u"extDt"_s, u"rowid"_s, true);

    aqryCdRomListDt->SQL() = {u"select DiskCode, FileData, FileName, FilePath, FileSize "_s, u"  from CdRomListDt"_s,
                              u"where DiskCode= ?"_s};
    aqryCdRomListDt->Params() = {QVariant()};
    aqryCdRomListDt->setStreaming(true);

    aqryCdRomListMt->SQL() = {u"select DiskCode, DiskLabel, DiskName, DiskSerial "_s, u"  from CdRomListMt"_s,
                              u"Order by DiskName COLLATE LOCALE"_s};
    aqryCdRomListMt->setUpdateTable(u"CdRomListMt"_s, u"DiskCode"_s);

    aqryQuery->SQL() = {u"select DiskCode, FileData, FileName, FilePath, FileSize"_s, u"  from CdRomListDt"_s};
    aqryQuery->setStreaming(true);
    aqryQuery->FieldDefs() = {
        {u"DiskCode"_s, u"DiskCode"_s, -1, FieldKind::Integer},
        {u"FileName"_s, fieldLabel(QT_TRANSLATE_NOOP("TdmQL", "文件名")), 0, FieldKind::Memo},
        {u"FileSize"_s, fieldLabel(QT_TRANSLATE_NOOP("TdmQL", "大小")), 0, FieldKind::Text},
        {u"FileData"_s, fieldLabel(QT_TRANSLATE_NOOP("TdmQL", "时间")), 0, FieldKind::DateTime},
        {u"FilePath"_s, fieldLabel(QT_TRANSLATE_NOOP("TdmQL", "路径")), 0, FieldKind::Memo},
    };

    const auto handler = [this](TQuery &dataSet, const DbError &error) { return QryError(dataSet, error); };
    for (TQuery *query : {aqryTempFind, aqryExtMt, aqryExtDt, aqryQuery})
        query->setOnError(handler);
}

QString TdmQL::aConQlBeforeConnect() const
{
    return catalogueFile();
}

// A catalogue that another program uses is not touched: its lock names the user. Nor is one
// whose lock cannot be taken: it would be written without the lock.
bool TdmQL::lockCatalogue()
{
    if (m_access == Access::ReadOnly || !QFileInfo::exists(catalogueFile()))
        return true; // nothing to lock: the connection reports the missing file
    m_lock = std::make_unique<CatalogueLock>(catalogueFile());
    if (m_lock->state() == CatalogueLock::State::Held)
        return true;
    m_inUse = m_lock->state() == CatalogueLock::State::InUse;
    const QString message = m_inUse ? tr("光盘索引库正在被另一个程序使用：%1").arg(m_lock->holder())
                                    : tr("无法锁定光盘索引库：%1").arg(m_lock->reason());
    m_commFunction.ShowError(message, tr("光盘索引库：%1").arg(QDir::toNativeSeparators(catalogueFile())),
                             tr("错误提示"));
    m_lock.reset();
    return false;
}

void TdmQL::DataModuleCreate()
{
    m_connected = lockCatalogue();
    if (!m_connected)
        return;
    try {
        aConQl.Open(aConQlBeforeConnect());
        CatalogueSchema::verify(aConQl.connectionName());
        if (CatalogueSchema::version(aConQl.connectionName()) > CatalogueSchema::CurrentVersion)
            refuseChanges();
        else
            upgradeCatalogue();
    } catch (const DbError &error) {
        aConQl.Close();
        m_commFunction.ShowError(tr("连接失败"), error.message(), tr("错误提示"));
        m_connected = false;
    }
}

// A catalogue that cannot take the newer tables (a read-only file) still works as it is:
// searches without the index scan the file records.
void TdmQL::upgradeCatalogue()
{
    try {
        CatalogueSchema::upgrade(aConQl.connectionName());
        CatalogueSchema::restoreDerivedTables(aConQl.connectionName());
    } catch (const DbError &) {
    }
}

// A newer program's catalogue is read as it is: its tables may mean more than this program
// knows, so the connection refuses every change and the file is neither upgraded nor
// compacted.
void TdmQL::refuseChanges()
{
    m_readOnly = ReadOnlyReason(ReadOnlyReason::Kind::NewerVersion);
    runStatement(aConQl.connectionName(), u"PRAGMA query_only = ON"_s);
}

TQuery::ErrorAction TdmQL::QryError(TQuery &, const DbError &error)
{
    m_commBusiness.ShowDataError(error.message());
    return TQuery::ErrorAction::Abort;
}

void TdmQL::closeQueries()
{
    for (TQuery *query : findChildren<TQuery *>(Qt::FindDirectChildrenOnly)) {
        query->Close();
        query->releaseStatement();
    }
}

void TdmQL::fault(CompactStep step) const
{
    if (m_faultHook)
        m_faultHook(step);
}

void TdmQL::DataModuleDestroy()
{
    closeQueries();
    if (m_connected && m_access == Access::ReadWrite && !m_readOnly.readOnly())
        compact();
    aConQl.Close();
    m_lock.reset();
}

void TdmQL::vacuumInto(const QString &path)
{
    runStatement(aConQl.connectionName(), u"VACUUM INTO ?"_s, {path});
}

// Copies the catalogue into a folder of this compaction's own beside it (CompactionFolder),
// flushes the copy and renames it over the catalogue in one step, so there is never a
// moment without a catalogue. Any failure ends the sequence silently with the catalogue as
// it was. The folders that killed compactions of this catalogue left are removed first:
// only this program can be compacting it, since it holds the catalogue's lock.
void TdmQL::compact()
{
    if (!m_lock || m_lock->state() != CatalogueLock::State::Held)
        return;
    CompactionFolder::removeLeftovers(catalogueFile());
    if (!worthCompacting())
        return;
    try {
        fault(CompactStep::Copy);
        const CompactionFolder folder(catalogueFile());
        const QString temp = folder.copyFile();
        vacuumInto(temp);
        aConQl.Close();
        fault(CompactStep::Flush);
        if (!keepOwnerAndMode(temp))
            throw DbError(u"owner or mode cannot be kept"_s);
        if (!syncToDisk(temp))
            throw DbError(u"flush failed"_s);
        fault(CompactStep::Replace);
        if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(catalogueFile()).constData()) != 0)
            throw DbError(u"rename failed"_s);
        syncToDisk(catalogueFile());
    } catch (const std::exception &) {
        aConQl.Close();
    }
}

// Compaction rewrites the whole file, which takes many seconds on a catalogue of a
// gigabyte: it is done only when the free pages (left by deleted discs) make up a tenth
// of the file or more.
bool TdmQL::worthCompacting() const
{
    QSqlQuery pages(QSqlDatabase::database(aConQl.connectionName(), false));
    if (!pages.exec(u"SELECT page_count, freelist_count FROM pragma_page_count, pragma_freelist_count"_s) ||
        !pages.next())
        return false;
    return pages.value(1).toLongLong() * 10 >= pages.value(0).toLongLong();
}

// Gives the copy the catalogue's owner, group and mode; false where that cannot be done
// (the catalogue belongs to another user), and the catalogue is then left as it is.
bool TdmQL::keepOwnerAndMode(const QString &copy) const
{
    struct stat original {};
    if (::stat(QFile::encodeName(catalogueFile()).constData(), &original) != 0)
        return false;
    const QByteArray path = QFile::encodeName(copy);
    struct stat made {};
    if (::stat(path.constData(), &made) != 0)
        return false;
    if ((made.st_uid != original.st_uid || made.st_gid != original.st_gid) &&
        ::chown(path.constData(), original.st_uid, original.st_gid) != 0)
        return false;
    return ::chmod(path.constData(), original.st_mode & 07777) == 0;
}

#pragma once

#include "Connection.h"
#include "Query.h"
#include "ReadOnlyReason.h"

#include <QObject>
#include <functional>
#include <memory>

class Catalogue;
class CatalogueLock;
class TLCommBusiness;
class TLCommFunction;

// The catalogue's data module: the one connection and the six named queries every part
// of the program uses. Creating it locks the catalogue for this program (see
// CatalogueLock) and connects to it; destroying it compacts the file.
class TdmQL : public QObject {
    Q_OBJECT
public:
    // The steps of the compaction at exit, for the fault hook.
    enum class CompactStep { Copy, Flush, Replace };
    using FaultHook = std::function<void(CompactStep)>;

    // The catalogue data/dbQL.mdb below the program directory.
    TdmQL(const QString &programDir, TLCommFunction &commFunction, TLCommBusiness &commBusiness,
          QObject *parent = nullptr);
    // How a program uses the catalogue: the window and every writer hold its lock and
    // compact it at the end; a reader takes no lock and leaves the file as it is, so it
    // can read while another program holds the catalogue.
    enum class Access { ReadWrite, ReadOnly };

    // Another catalogue file; the program directory still holds the program's own files.
    TdmQL(const QString &programDir, const QString &catalogueFile, TLCommFunction &commFunction,
          TLCommBusiness &commBusiness, QObject *parent = nullptr, Access access = Access::ReadWrite);
    ~TdmQL() override;

    bool Connected() const { return m_connected; }
    // True when the catalogue was not opened because another program holds it.
    bool InUse() const { return m_inUse; }
    QString programDir() const { return m_programDir; }
    QString catalogueFile() const;
    // Why the catalogue may only be read, if it may; see ReadOnlyReason.
    const ReadOnlyReason &readOnlyReason() const { return m_readOnly; }

    // Runs before each step of the compaction; a test makes a step fail by throwing.
    void setCompactFaultHook(FaultHook hook) { m_faultHook = std::move(hook); }

    // The handler of the guarded queries' failed row operations: shows the data error
    // and abandons the operation.
    TQuery::ErrorAction QryError(TQuery &dataSet, const DbError &error);

    // Every statement of the program beyond the named queries' own goes through this.
    Catalogue &catalogue() { return *m_catalogue; }

    TConnection aConQl;
    TQuery *const aqryTempFind;
    TQuery *const aqryExtMt;
    TQuery *const aqryExtDt;
    TQuery *const aqryCdRomListDt;
    TQuery *const aqryCdRomListMt;
    TQuery *const aqryQuery;

private:
    void defineQueries();
    void DataModuleCreate();
    QString aConQlBeforeConnect() const;
    void DataModuleDestroy();
    void closeQueries();
    void upgradeCatalogue();
    void refuseChanges();
    bool worthCompacting() const;
    void compact();
    void vacuumInto(const QString &path);
    void fault(CompactStep step) const;
    bool lockCatalogue();
    bool keepOwnerAndMode(const QString &copy) const;

    QString m_programDir;
    QString m_catalogueFile;
    std::unique_ptr<CatalogueLock> m_lock;
    std::unique_ptr<Catalogue> m_catalogue;
    TLCommFunction &m_commFunction;
    TLCommBusiness &m_commBusiness;
    Access m_access;
    bool m_inUse = false;
    bool m_connected = true;
    ReadOnlyReason m_readOnly;
    FaultHook m_faultHook;
};

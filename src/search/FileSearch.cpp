#include "FileSearch.h"

using namespace Qt::StringLiterals;

FileRow FileSearch::hitRow(TQuery &query, const QHash<qint32, QString> &discNames)
{
    return HitReader(query, discNames).row();
}

FileSearch::HitReader::HitReader(TQuery &query, const QHash<qint32, QString> &discNames)
    : m_discNames(discNames)
    , m_disc(query.FieldByName(u"DiskCode"_s))
    , m_name(query.FieldByName(u"FileName"_s))
    , m_size(query.FieldByName(u"FileSize"_s))
    , m_date(query.FieldByName(u"FileData"_s))
    , m_path(query.FieldByName(u"FilePath"_s))
{
}

FileRow FileSearch::HitReader::row() const
{
    return FileRow{m_discNames.value(qint32(m_disc.AsInteger())),
                   {m_name.AsString(), m_size.AsString(), m_date.AsString(), m_path.AsString()}};
}

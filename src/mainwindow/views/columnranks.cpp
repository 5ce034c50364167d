#include "columnranks.h"

#include "appexcolumns.h"
#include "appexer.h"
#include "extensionpoint.h"
#include "recordfacts.h"
#include "textkey.h"

#include <QDateTime>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Each run of digits orders as its number: it becomes a '0', the count of
// its digits without leading zeros, then those digits, so that a shorter
// number orders first. Other characters order as they are; a run, marked
// '0', orders after a '.' and before a letter, as a digit would.
void appendVersionKey(std::string &key, QByteArrayView version)
{
    for (qsizetype at = 0; at < version.size();) {
        if (!isDigit(version[at])) {
            key += version[at++];
            continue;
        }
        qsizetype end = at;
        while (end < version.size() && isDigit(version[end]))
            ++end;
        while (at < end - 1 && version[at] == '0')
            ++at;
        key += '0';
        key += char(std::min<qsizetype>(end - at, 255));
        key.append(version.data() + at, size_t(end - at));
        at = end;
    }
}

// "2026-08-08 13:39:26 +0000": the moment, as seconds since 1970 in eight
// big-endian bytes, the sign's bit flipped so that the bytes order them. A
// timestamp that does not read so has no key, and orders before every time.
void appendTimeKey(std::string &key, QByteArrayView timestamp)
{
    const QString text = QString::fromUtf8(timestamp).trimmed();
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    const QTime time = QTime::fromString(text.mid(11, 8), Qt::ISODate);
    if (!date.isValid() || !time.isValid())
        return;
    const QString zone = text.mid(20);
    bool hasOffset = false;
    const int hoursMinutes = zone.size() == 5 ? zone.sliced(1).toInt(&hasOffset) : 0;
    const int offset = hasOffset ? (zone.startsWith(u'-') ? -60 : 60) *
                                       (hoursMinutes / 100 * 60 + hoursMinutes % 100)
                                 : 0;
    const auto seconds =
        quint64(QDateTime(date, time, Qt::OffsetFromUTC, offset).toSecsSinceEpoch()) ^
        (quint64(1) << 63);
    for (int shift = 56; shift >= 0; shift -= 8)
        key += char(seconds >> shift);
}

void appendCategoryKey(std::string &key, QByteArrayView point)
{
    TextKey::appendKey(key, ExtensionPoint::category(point).toUtf8(), true);
}

// By the catalogue's record keys, for orders that read no text.
SortRanks::Ranks stateRanks(const Appexer &catalogue)
{
    const ListingRecords records = catalogue.byRecordKey();
    SortRanks::Ranks ranks{std::vector<quint32>(size_t(records.count)), 0};
    for (qsizetype key = 0; key < records.count; ++key) {
        ranks.ofKey[size_t(key)] = quint32(RecordFacts::stateRank(records.at(key)));
        ranks.count = std::max(ranks.count, ranks.ofKey[size_t(key)] + 1);
    }
    return ranks;
}

SortRanks::Ranks changeRanks(const Appexer &catalogue)
{
    SortRanks::Ranks ranks{std::vector<quint32>(size_t(catalogue.rowCount())),
                           quint32(AppexChange::Removed) + 1};
    for (int row = 0; row < catalogue.rowCount(); ++row)
        ranks.ofKey[size_t(catalogue.recordKey(row))] = quint32(catalogue.changeAt(row));
    return ranks;
}

SortRanks::Ranks ranksOf(int column, const Appexer &catalogue)
{
    const auto textKey = [column](std::string &key, QByteArrayView text) {
        TextKey::appendKey(key, text, column != AppexColumns::Uuid); // as the sort codes
    };
    const auto ranks = [&catalogue](AppexField field, const SortRanks::AppendKey &appendKey) {
        return SortRanks::ranks(catalogue.byRecordKey(), field, appendKey);
    };
    switch (AppexColumns::Column(column)) {
    case AppexColumns::Change:
        return changeRanks(catalogue);
    case AppexColumns::State:
        return stateRanks(catalogue);
    case AppexColumns::Name:
        return ranks(AppexField::Name, textKey);
    case AppexColumns::Category:
        return ranks(AppexField::Point, appendCategoryKey);
    case AppexColumns::Parent:
        return ranks(AppexField::ParentName, textKey);
    case AppexColumns::Version:
        return ranks(AppexField::Version, appendVersionKey);
    case AppexColumns::Identifier:
        return ranks(AppexField::Identifier, textKey);
    case AppexColumns::Registered:
        return ranks(AppexField::Timestamp, appendTimeKey);
    case AppexColumns::Path:
        return ranks(AppexField::Path, textKey);
    case AppexColumns::Uuid:
        return ranks(AppexField::Uuid, textKey);
    }
    Q_UNREACHABLE();
}

} // namespace

std::shared_ptr<const SortRanks::Ranks> ColumnRanks::of(int column, const Appexer &catalogue)
{
    std::shared_ptr<const SortRanks::Ranks> &ranks = m_ranks[column];
    if (!ranks)
        ranks = std::make_shared<const SortRanks::Ranks>(ranksOf(column, catalogue));
    return ranks;
}

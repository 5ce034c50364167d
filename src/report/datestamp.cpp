#include "datestamp.h"

QString dateStamp(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment.toLocalTime(), u"yyyy_MM_dd_HH-mm");
}

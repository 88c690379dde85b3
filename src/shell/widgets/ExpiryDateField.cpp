#include "shell/widgets/ExpiryDateField.h"

#include <QDateTimeEdit>
#include <limits>

namespace vlt {

QDateTimeEdit* makeExpiryDateField(QWidget* parent, const char* name, const QRect& place,
                                   const QString& tip) {
    auto* field = new QDateTimeEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(place);
    field->setToolTip(tip);
    field->setTimeSpec(Qt::UTC);
    field->setDateTimeRange(ExpiryFieldTime(std::numeric_limits<std::int32_t>::min()),
                            ExpiryFieldTime(std::numeric_limits<std::int32_t>::max()));
    field->setDisplayFormat(QStringLiteral("'Entry expires on' MM/dd/yyyy 'at' HH:mm"));
    field->setCalendarPopup(true);
    return field;
}

QDateTime ExpiryFieldTime(std::int32_t date) {
    return QDateTime::fromSecsSinceEpoch(date, Qt::UTC);
}

std::int32_t ExpiryFieldDate(const QDateTime& value) {
    const qint64 secs = value.toSecsSinceEpoch();
    if (secs > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (secs < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(secs);
}

}  // namespace vlt

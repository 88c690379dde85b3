#pragma once
// The expiry date and time field of the entry and mass-modify windows: "Entry expires on
// mm/dd/yyyy at hh:ii" with a drop-down calendar. Dates are local wall-clock seconds that read as
// UTC (DateText.h), so the field shows them in UTC. GUI thread only.

#include <QDateTime>
#include <QRect>
#include <QString>
#include <cstdint>

class QDateTimeEdit;
class QWidget;

namespace vlt {

// The field at `place`, covering every date an entry can hold.
QDateTimeEdit* makeExpiryDateField(QWidget* parent, const char* name, const QRect& place,
                                   const QString& tip);

// A stored date as the field shows it, and the field's value as stored (clamped to the range).
QDateTime ExpiryFieldTime(std::int32_t date);
std::int32_t ExpiryFieldDate(const QDateTime& value);

}  // namespace vlt

// Dates of the evaluator's date functions: a date text (year-month-day or month/day/year, an
// optional "@" and a time of day as hours:minutes[:seconds], or "now") read as a day count whose
// day 0 is 15 October 1582.
#pragma once

#include "services/Evaluator.h"

#include <string_view>

namespace evaluator_dates {

// Days since 15 October 1582, with the time of day as a fraction; error 13 for an unreadable text.
double DayCount(std::string_view text, const std::function<EvaluatorClockTime()>& clock);

// The day of the week of the date part, Monday 1 to Sunday 7; error 13 for an unreadable text.
int Weekday(std::string_view text, const std::function<EvaluatorClockTime()>& clock);

} // namespace evaluator_dates

#pragma once

#include <string>

#include "core/DateTime.h"
#include "core/InterfaceTexts.h"

namespace zentrix {

struct THebrewDate {
  int Year = 0;
  int Month = 0;  // 1 = Nisan ... 12 = Adar, 13 = Adar 2; the year begins with 7 = Tishri
  int Day = 0;
};

// 15 Nisan of the Hebrew year that begins in the autumn of `year - 1` (Gauss), as a day number.
// Raises E_OutOfAlgorithmRange for years before 359.
TDateTime PassoverDate(int year);
// 0 to 5 for years of 353, 354, 355, 383, 384, 385 days.
int HebrewYearType(int hebrewYear);
// The Hebrew date of the day of `day`; a time after noon counts as the following day.
THebrewDate HebrewDate(TDateTime day);

// Names with English defaults, replaceable by a language ("lc_HebrewMonth1" ..., "lc_HebrewDay1" ...).
std::string HebrewMonthName(int month, const TInterfaceTexts& texts);
// weekday: 1 = Sunday ... 7 = Saturday.
std::string HebrewWeekdayName(int weekday, const TInterfaceTexts& texts);
// The bar's date text in the Hebrew calendar: "Yom Chamishi, 1. Tishri 5774".
std::string HebrewDateText(TDateTime day, const TInterfaceTexts& texts);

// The first day of the Chinese year that begins in `year`, as China's civil date.
TDateTime ChineseNewYearDate(int year);
// China's civil time: UTC+8 from 1929, local mean time of Beijing before.
TDateTime ToBeijingTime(TDateTime utc);
TDateTime FromBeijingTime(TDateTime beijing);

// Gregorian Easter Sunday; Easter Monday is the day after.
TDateTime EasterSunday(int year);

}  // namespace zentrix

#pragma once
// Conversions between the engine's UTF-16 texts and Qt's: the one pair the plugins use too.

#include "QtUtf16.h"

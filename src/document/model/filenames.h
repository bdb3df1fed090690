#pragma once

#include <QString>

// The crossword the solving window shows: set by the start window and by the
// solving window's Open, read when the solving window loads. It lives for the
// whole run and starts as "". The editing window keeps its own name instead.
QString &currentFileName();

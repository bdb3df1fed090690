#pragma once

#include "crossworddocument.h"

#include <QString>

#include <initializer_list>
#include <utility>

// Draws a crossword for a test. Each string is one grid row from row 0 down,
// one character per column: '.' is a blank square, any other character is that
// cell's answer letter. Rows may be shorter than 20 and missing rows are blank.
// numbers gives (cell, number text) pairs.
//
//   boardFromRows({".кот", "..о"}, {{1, "1"}, {2, "2"}}, "1. Домашнее животное.")
CrosswordDocument boardFromRows(std::initializer_list<QString> rows,
                                std::initializer_list<std::pair<int, QString>> numbers = {},
                                const QString &clueText = {});

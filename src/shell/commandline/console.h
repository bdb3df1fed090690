#pragma once

#include <cstdio>

// The terminal the program was started from, if any. While a Console lives,
// what the program prints to standard output and error reaches that terminal
// as readable text: on Windows a windowed program attaches to the console it
// was started from (it has none of its own) and the console shows UTF-8 until
// the Console goes. A POSIX and a Windows face.
class Console
{
public:
    Console();
    ~Console();
    Console(const Console &) = delete;
    Console &operator=(const Console &) = delete;

    // Whether stream (stdout or stderr) is a terminal or console.
    static bool isTerminal(std::FILE *stream);

private:
    unsigned m_previousCodePage = 0; // Windows: the console's code page to give back
};

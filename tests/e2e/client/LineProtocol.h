#pragma once
// The protocol of our "other application" programs (the test client, the benches' probe): one
// command a line on stdin, one answer a line on stdout, "ok [value]" or "err message".
#include <windows.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using Args = std::vector<std::string>;
struct Failure { std::string message; };
using Commands = std::map<std::string, std::function<std::string(const Args&)>>;

inline std::string answer(const Commands& commands, const std::string& line) {
    std::istringstream stream(line);
    Args a;
    for (std::string word; stream >> word;) a.push_back(word);
    try {
        auto command = a.empty() ? commands.end() : commands.find(a[0]);
        if (command == commands.end()) throw Failure{"unknown command " + line};
        return "ok " + command->second(a);
    } catch (const Failure& failure) {
        return "err " + failure.message;
    } catch (const std::exception& error) {
        return std::string("err ") + error.what();
    }
}

// Answers the lines of stdin until it ends. stdin has a thread of its own: this thread keeps
// pumping messages, as the windows of the program need.
inline int serveLines(const Commands& commands) {
    const UINT kLineMessage = WM_APP + 1;
    const DWORD mainThread = GetCurrentThreadId();
    std::thread([mainThread] {
        for (std::string line; std::getline(std::cin, line);)
            for (auto* copy = new std::string(line); !PostThreadMessageA(mainThread, kLineMessage, 0, reinterpret_cast<LPARAM>(copy));) Sleep(5);
        PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
    }).detach();
    for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;) {
        if (message.hwnd || message.message != kLineMessage) {
            TranslateMessage(&message), DispatchMessageA(&message);
            continue;
        }
        printf("%s\n", answer(commands, *std::unique_ptr<std::string>(reinterpret_cast<std::string*>(message.lParam))).c_str());
        fflush(stdout);
    }
    return 0;
}

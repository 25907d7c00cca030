// Fakes of the window's controls and platform services: each keeps what was
// written so a test can read it back, and logs calls where order matters.
#pragma once

#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/CommandButton.h"
#include "platform/Desk.h"
#include "platform/Environment.h"
#include "platform/Label.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/Shell.h"
#include "platform/TextBox.h"
#include "platform/Timer.h"
#include "platform/VersionInfo.h"
#include "platform/Window.h"

namespace kestrova::fakes {

class FakeLabel final : public Label {
public:
    Text Caption() const override { return caption; }
    void SetCaption(TextView text) override { caption = Text(text); }
    void SetWidth(float twips) override { width = twips; }
    void SetTop(float twips) override { top = twips; }

    Text caption;
    float width = 0, top = 0;
};

class FakeTextBox final : public TextBox {
public:
    explicit FakeTextBox(Text initial = {}) : text(std::move(initial)) {}
    Text GetText() const override {
        if (onRead) onRead();
        return text;
    }
    void SetText(TextView t) override { text = Text(t); }
    bool IsEnabled() const override { return enabled; }
    void SetEnabled(bool e) override { enabled = e; }
    void FocusAndSelectAll() override { ++focusRequests; }

    Text text;
    bool enabled = true;
    int focusRequests = 0;
    std::function<void()> onRead;  // lets a test act in the middle of a refresh
};

class FakeCommandButton final : public CommandButton {
public:
    explicit FakeCommandButton(Text initial = u"ON") : caption(std::move(initial)) {}
    Text Caption() const override { return caption; }
    void SetCaption(TextView text) override { caption = Text(text); }

    Text caption;
};

class FakePictureBox final : public PictureBox {
public:
    void SetLeft(float twips) override { left = twips; }
    float left = 2950;
};

class FakeTimer final : public Timer {
public:
    std::int32_t Interval() const override { return interval; }
    bool SetInterval(std::int32_t ms) override {
        interval = ms;
        if (!enabled || ms <= 0 || !refusesToStart) return true;
        enabled = false;
        return false;
    }
    bool IsEnabled() const override { return enabled; }
    bool SetEnabled(bool e) override {
        enabled = e && !refusesToStart;
        return enabled == e;
    }

    std::int32_t interval = 1000;
    bool enabled = true;  // the load handler must switch it off
    bool refusesToStart = false;
};

class FakeWindow final : public Window {
public:
    float Width() const override { return width; }
    float Height() const override { return height; }
    float Left() const override { return left; }
    float Top() const override { return top; }
    void Move(float toLeft, float toTop) override {
        left = toLeft;
        top = toTop;
        moves.push_back({toLeft, toTop});
    }
    WindowHandle Handle() const override { return handle; }
    void RequestAttention() override { ++attentionRequests; }
    void Unload() override { ++unloads; }

    float width = 10185, height = 3510, left = 1500, top = 1200;
    WindowHandle handle = 0x1234;
    int unloads = 0;
    int attentionRequests = 0;
    std::vector<std::pair<float, float>> moves;  // left, top
};

struct ShellCall {
    WindowHandle owner;
    Text operation, file, parameters, directory;
    std::int32_t show;
};

class FakeShell final : public Shell {
public:
    std::optional<std::intptr_t> ShellExecuteA(WindowHandle owner, TextView operation,
                                               TextView file, TextView parameters,
                                               TextView directory, std::int32_t show) override {
        calls.push_back({owner, Text(operation), Text(file), Text(parameters), Text(directory),
                         show});
        return result;
    }

    std::vector<ShellCall> calls;
    std::optional<std::intptr_t> result = 42;
};

class FakeMessageBox final : public MessageBox {
public:
    struct Shown {
        Text prompt;
        std::uint32_t style;
    };
    void Show(TextView prompt, std::uint32_t style) override {
        shown.push_back({Text(prompt), style});
    }
    std::vector<Shown> shown;
};

class FakeEnvironment final : public Environment {
public:
    Text GetVariable(TextView name) const override {
        auto it = variables.find(Text(name));
        return it == variables.end() ? Text() : it->second;
    }
    std::map<Text, Text> variables;
};

class FakeVersionInfo final : public VersionInfo {
public:
    Text ProductName() const override { return productName; }
    Text productName = u"Kestrova";
};

class FakeClock final : public Clock {
public:
    LocalTime Now() const override { return now; }
    LocalTime now{2026, 3, 14, {10, 32, 5}};
};

class FakeDesk final : public Desk {
public:
    DeskReading Read() override { return reading; }
    DeskReading reading;
};

// A locale with '.' as decimal separator, "H:MM:SS" times and "D.M.YYYY" dates. Only whole
// texts that are numbers convert; surrounding blanks are allowed, as the
// platform's conversion allows them.
class FakeLocale final : public Locale {
public:
    std::optional<double> TextToNumber(TextView text) const override {
        const std::string ascii = TextToAscii(text);
        if (ascii.find_first_not_of(" ") == std::string::npos) return std::nullopt;
        char* end = nullptr;
        const double value = std::strtod(ascii.c_str(), &end);
        while (*end == ' ') ++end;
        if (*end != '\0') return std::nullopt;
        return value;
    }
    Text TimeToText(const TimeOfDay& t) const override {
        auto two = [](int v) {
            Text s = DecimalText(static_cast<std::uint64_t>(v));
            return s.size() < 2 ? u"0" + s : s;
        };
        return DecimalText(static_cast<std::uint64_t>(t.hour)) + u":" + two(t.minute) + u":" +
               two(t.second);
    }
    Text DateToText(const LocalTime& d) const override {
        const auto number = [](int v) { return DecimalText(static_cast<std::uint64_t>(v)); };
        return number(d.day) + u"." + number(d.month) + u"." + number(d.year);
    }
};

}  // namespace kestrova::fakes

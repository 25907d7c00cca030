// A WMI that serves scripted adapters and can fail at any step: the bind, the
// query, any fetch, any property or element read. It also records the order
// in which objects are released.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Wmi.h"

namespace kestrova::fakes {

// One adapter: property name -> value, and list property -> elements (a
// missing list reads as null).
struct FakeAdapter {
    std::map<Text, WmiValue> properties;
    std::map<Text, std::vector<WmiValue>> lists;
    std::map<Text, WmiValue> failingReads;  // name -> the failure to return
};

// An adapter with just a MAC address: enough for a row.
inline FakeAdapter AdapterWithMac(Text mac) {
    FakeAdapter a;
    a.properties[u"MACAddress"] = std::move(mac);
    return a;
}

struct FakeWmiLog {
    std::vector<Text> boundNames;
    std::vector<Text> queries;
    std::vector<std::string> releases;  // "set", "services"
    int fetches = 0;
};

inline constexpr std::uint32_t kFakeFailureCode = 0x80041015u;

class FakeWmiObject final : public WmiObject {
public:
    explicit FakeWmiObject(const FakeAdapter& adapter) : adapter_(adapter) {}

    WmiValue ReadProperty(TextView name) override {
        const Text key(name);
        if (auto f = adapter_.failingReads.find(key); f != adapter_.failingReads.end()) {
            return f->second;
        }
        if (auto p = adapter_.properties.find(key); p != adapter_.properties.end()) {
            return p->second;
        }
        if (adapter_.lists.count(key) != 0) return WmiReadFailed{0x80020005u};  // array as scalar
        return WmiReadFailed{0x80041002u};  // no such property
    }
    WmiValue ReadElement(TextView name, std::int16_t index) override {
        Text key(name);
        if (auto f = adapter_.failingReads.find(key); f != adapter_.failingReads.end()) {
            return f->second;
        }
        key += u"[" + DecimalText(static_cast<std::uint64_t>(index)) + u"]";
        if (auto f = adapter_.failingReads.find(key); f != adapter_.failingReads.end()) {
            return f->second;
        }
        auto list = adapter_.lists.find(Text(name));
        if (list == adapter_.lists.end()) return WmiReadFailed{0x8002000Bu};  // null list
        if (index < 0 || static_cast<size_t>(index) >= list->second.size()) {
            return WmiReadFailed{0x8002000Bu};  // beyond the end
        }
        return list->second[static_cast<size_t>(index)];
    }

private:
    FakeAdapter adapter_;
};

struct FakeWmiScript {
    std::vector<FakeAdapter> adapters;
    std::optional<PlatformError> bindFailure;
    std::optional<PlatformError> queryFailure;
    std::optional<size_t> failingFetch;  // 0-based number of the fetch that fails
    std::function<void()> onFetch;       // called at every fetch, before it answers
};

class FakeWmiObjectSet final : public WmiObjectSet {
public:
    FakeWmiObjectSet(const FakeWmiScript& script, FakeWmiLog& log) : script_(script), log_(log) {}
    ~FakeWmiObjectSet() override { log_.releases.push_back("set"); }

    Outcome<std::unique_ptr<WmiObject>> Next() override {
        const size_t fetch = fetches_++;
        ++log_.fetches;
        if (script_.onFetch) script_.onFetch();
        if (script_.failingFetch && *script_.failingFetch == fetch) {
            return PlatformError{0x80041001u, u"Generic failure "};
        }
        if (fetch >= script_.adapters.size()) return std::unique_ptr<WmiObject>();
        return std::unique_ptr<WmiObject>(
            std::make_unique<FakeWmiObject>(script_.adapters[fetch]));
    }

private:
    const FakeWmiScript& script_;
    FakeWmiLog& log_;
    size_t fetches_ = 0;
};

class FakeWmiServices final : public WmiServices {
public:
    FakeWmiServices(const FakeWmiScript& script, FakeWmiLog& log) : script_(script), log_(log) {}
    ~FakeWmiServices() override { log_.releases.push_back("services"); }

    Outcome<std::unique_ptr<WmiObjectSet>> ExecQuery(TextView query) override {
        log_.queries.emplace_back(query);
        if (script_.queryFailure) return *script_.queryFailure;
        return std::unique_ptr<WmiObjectSet>(std::make_unique<FakeWmiObjectSet>(script_, log_));
    }

private:
    const FakeWmiScript& script_;
    FakeWmiLog& log_;
};

class FakeWmi final : public WmiConnector {
public:
    Outcome<std::unique_ptr<WmiServices>> Bind(TextView displayName) override {
        log.boundNames.emplace_back(displayName);
        if (script.bindFailure) return *script.bindFailure;
        return std::unique_ptr<WmiServices>(std::make_unique<FakeWmiServices>(script, log));
    }

    FakeWmiScript script;
    FakeWmiLog log;
};

}  // namespace kestrova::fakes

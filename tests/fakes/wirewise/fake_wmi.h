#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "seams/wmi.h"

namespace ww::test {

// A scripted WMI: the instances a query returns, each method's ReturnValue per instance, and
// HRESULTs for the connection, the query and the calls. Records every call.
class FakeWmi final : public Wmi {
  public:
    struct Instance {
        std::optional<std::string> description;       // nothing: the property is null
        std::map<std::string, uint32_t> returnValues; // method → ReturnValue; absent gives 0
        std::map<std::string, HResult> failures;      // method → failed HRESULT of the call
        std::optional<std::string> settingId;         // the adapter's GUID; nothing: null
        // method → the ReturnValues of its calls in turn; once used up, returnValues answers
        std::map<std::string, std::deque<uint32_t>> answers;
    };
    struct Call {
        size_t instance;
        std::string method;
        std::vector<WmiArg> args;
    };

    std::vector<Instance> instances;
    HResult connectStatus = 0;
    HResult queryStatus = 0;
    HResult methodStatus = 0; // every call's HRESULT unless the instance names its own failure
    std::vector<std::string> namespaces;
    std::vector<std::string> queries;
    std::vector<Call> calls;
    int open = 0; // connections not yet released
    // What a method that succeeds does besides answering (Windows rewrites the adapter's keys).
    std::function<void(size_t instance, const std::string& method)> onMethod;

    HResult ConnectServer(const std::string& nameSpace,
                          std::unique_ptr<WmiService>* service) override {
        namespaces.push_back(nameSpace);
        if (ComFailed(connectStatus)) return connectStatus;
        *service = std::make_unique<Service>(*this);
        return 0;
    }

  private:
    class Service final : public WmiService {
      public:
        explicit Service(FakeWmi& wmi) : wmi_(wmi) { ++wmi_.open; }
        ~Service() override { --wmi_.open; }
        HResult ExecQuery(const std::string& wql, const std::vector<std::string>& properties,
                          std::vector<WmiRow>* rows) override {
            std::string query = wql + " /";
            for (const std::string& p : properties)
                query += " " + p;
            wmi_.queries.push_back(query);
            rows->clear();
            if (ComFailed(wmi_.queryStatus)) return wmi_.queryStatus;
            for (const Instance& i : wmi_.instances) {
                WmiRow row;
                for (const std::string& p : properties)
                    row.push_back(p == "Description" ? i.description
                                  : p == "SettingID" ? i.settingId
                                                     : std::nullopt);
                rows->push_back(std::move(row));
            }
            return 0;
        }
        HResult ExecMethod(size_t instance, const std::string& method,
                           const std::vector<WmiArg>& args, uint32_t* returnValue) override {
            wmi_.calls.push_back({instance, method, args});
            *returnValue = 0;
            if (instance >= wmi_.instances.size()) return static_cast<HResult>(0x80041008u);
            Instance& i = wmi_.instances[instance];
            if (auto f = i.failures.find(method); f != i.failures.end()) return f->second;
            if (ComFailed(wmi_.methodStatus)) return wmi_.methodStatus;
            if (auto a = i.answers.find(method); a != i.answers.end() && !a->second.empty()) {
                *returnValue = a->second.front();
                a->second.pop_front();
            } else if (auto r = i.returnValues.find(method); r != i.returnValues.end()) {
                *returnValue = r->second;
            }
            if (*returnValue == 0 && wmi_.onMethod) wmi_.onMethod(instance, method);
            return 0;
        }

      private:
        FakeWmi& wmi_;
    };
};

} // namespace ww::test

namespace ww {
inline bool operator==(const WmiArg& a, const WmiArg& b) {
    return a.name == b.name && a.text == b.text;
}
} // namespace ww

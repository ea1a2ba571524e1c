#pragma once
// The local WMI service as its COM interfaces present it, cut down to what wirewise asks of it.
// Results are HRESULTs: 0 (S_OK) or another non-negative value is success, a value with the top
// bit set (for instance 0x8004102E, a method the class lacks) is a failed call.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ww {

// HRESULT: 32 bits wherever the program is built.
using HResult = int32_t;

inline constexpr HResult kWbemInvalidMethod = static_cast<HResult>(0x8004102Eu);

inline bool ComFailed(HResult hr) {
    return hr < 0;
}

// One named text argument of a method; a method called without arguments gets none.
struct WmiArg {
    std::string name;
    std::string text;
};

// One instance's properties in the order they were asked for: text, or nothing when null (a
// null is equal to no text, not even the empty one).
using WmiRow = std::vector<std::optional<std::string>>;

// A connection to one namespace; released with the object.
class WmiService {
  public:
    virtual ~WmiService() = default;
    // IWbemServices::ExecQuery with WQL, walking every returned instance in WMI's order: rows
    // receives one row per instance holding the named properties. The instances stay known to
    // ExecMethod, by their position, until the next query.
    virtual HResult ExecQuery(const std::string& wql, const std::vector<std::string>& properties,
                              std::vector<WmiRow>* rows) = 0;
    // IWbemServices::ExecMethod on instance number `instance` of the last query; returnValue
    // receives the method's "ReturnValue" out-parameter.
    virtual HResult ExecMethod(size_t instance, const std::string& method,
                               const std::vector<WmiArg>& args, uint32_t* returnValue) = 0;
};

class Wmi {
  public:
    virtual ~Wmi() = default;
    // COM start-up, the locator and IWbemLocator::ConnectServer on the local namespace (e.g.
    // "root\cimv2"); on success service holds the connection.
    virtual HResult ConnectServer(const std::string& nameSpace,
                                  std::unique_ptr<WmiService>* service) = 0;
};

} // namespace ww

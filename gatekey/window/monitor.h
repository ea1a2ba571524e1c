#pragma once
// The two reachability lamps: one probe, then the lamp's colour and caption from its outcome.
#include "led/lamp.h"
#include "probe/probe_api.h"

#include <cstdint>
#include <string>

namespace gk {

inline constexpr OleColor kLampGreen = 0x00FF00;
inline constexpr OleColor kLampYellow = 0x00FFFF;
inline constexpr OleColor kLampRed = 0x0000FF;
// An answer this slow or slower is shown as doubtful; it equals the echo time-out.
inline constexpr int32_t kSlowAnswerMs = 500;

struct LampCaptions {
    const char* connected;
    const char* notConnected;
};

inline constexpr LampCaptions kRouterCaptions{"Connected to Router", "Not connected to Router"};
inline constexpr LampCaptions kInternetCaptions{"Connected to Internet",
                                                "Not connected to Internet"};

// Colour first, then the caption; a slow answer leaves the caption as it was.
void ShowProbeResult(Lamp& lamp, const LampCaptions& captions, bool ok, int32_t rtt);

void CheckInternet(ProbeApi& api, Lamp& ledNet, const std::string& internetHost);
void CheckRouter(ProbeApi& api, Lamp& ledRouter, const std::string& host);

} // namespace gk

#include "window/monitor.h"

#include "probe/probe.h"

namespace gk {
namespace {

void Check(ProbeApi& api, Lamp& lamp, const LampCaptions& captions, const std::string& address) {
    int32_t rtt = 0;
    const bool ok = ProbeHost(api, address, rtt);
    ShowProbeResult(lamp, captions, ok, rtt);
}

} // namespace

void ShowProbeResult(Lamp& lamp, const LampCaptions& captions, bool ok, int32_t rtt) {
    if (!ok) {
        lamp.SetFillColor(kLampRed);
        lamp.SetCaption(captions.notConnected);
    } else if (rtt < kSlowAnswerMs) {
        lamp.SetFillColor(kLampGreen);
        lamp.SetCaption(captions.connected);
    } else {
        lamp.SetFillColor(kLampYellow);
    }
}

void CheckInternet(ProbeApi& api, Lamp& ledNet, const std::string& internetHost) {
    Check(api, ledNet, kInternetCaptions, internetHost);
}

void CheckRouter(ProbeApi& api, Lamp& ledRouter, const std::string& host) {
    Check(api, ledRouter, kRouterCaptions, host);
}

} // namespace gk

#pragma once
// A lamp that records each property write as one repaint.
#include "led/lamp.h"

#include <string>
#include <vector>

namespace gk::test {

class FakeLamp final : public Lamp {
  public:
    explicit FakeLamp(std::string caption = {}, OleColor fill = 255)
        : fill_(fill), caption_(std::move(caption)) {}
    OleColor FillColor() const override { return fill_; }
    void SetFillColor(OleColor color) override {
        fill_ = color;
        writes.push_back("FillColor " + std::to_string(color));
    }
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& text) override {
        caption_ = text;
        writes.push_back("Caption " + text);
    }

    std::vector<std::string> writes;

  private:
    OleColor fill_;
    std::string caption_;
};

} // namespace gk::test

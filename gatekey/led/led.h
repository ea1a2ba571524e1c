#pragma once
// The lamp control: a coloured body with a dark frame, a three-step bevel, cut corners, an
// optional picture and a centred caption. It holds the properties, reacts to the life-cycle
// events its hosting window raises, and paints itself in full on every property write.
#include <cstdint>
#include <memory>
#include <string>

#include "led/canvas.h"
#include "led/color.h"
#include "led/lamp.h"
#include "led/property_bag.h"

namespace gk {

// What the lamp needs from the window that hosts it.
class LedHost {
  public:
    // A surface on the control's device context for one repaint; null when there is none yet.
    virtual std::unique_ptr<Canvas> OpenCanvas() = 0;
    virtual Rect GetClientRect() = 0;
    // The control's own enabled state (whether it takes input).
    virtual void EnableWindow(bool enabled) = 0;
    // The name under which the container shows this instance.
    virtual std::string AmbientDisplayName() = 0;
    virtual const SystemColors& Colors() = 0;

  protected:
    ~LedHost() = default;
};

// Keys of the saved properties, in the order they are read and written.
inline constexpr const char* kKeyBackdrop = "BACIMG";
inline constexpr const char* kKeyEnabled = "ALLO";
inline constexpr const char* kKeyFillColor = "FDC";
inline constexpr const char* kKeyCaption = "BTXT";
inline constexpr const char* kKeyBackColor = "BDC";

inline constexpr Rgb kFrameColor = 0x733C00; // RGB 0, 60, 115

class Led final : public Lamp {
  public:
    explicit Led(LedHost& host) : host_(host) {}
    Led(const Led&) = delete;
    Led& operator=(const Led&) = delete;

    // Properties; every write but Enabled repaints the whole control at once.
    OleColor FillColor() const override { return fillColor_; }
    void SetFillColor(OleColor color) override;
    OleColor BackColor() const { return backColor_; }
    void SetBackColor(OleColor color);
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& text) override;
    const PicturePtr& Backdrop() const { return backdrop_; }
    void SetBackdrop(PicturePtr picture);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Life-cycle events.
    void UserControl_Initialize();
    void UserControl_InitProperties();
    void UserControl_ReadProperties(const PropertyBag& bag);
    void UserControl_WriteProperties(PropertyBag& bag) const;
    void UserControl_Resize();
    void UserControl_Show();

    // Drawing methods the container may call; each paints on a surface of its own.
    void ShowCaption(const std::string& txt);
    void CentTxt(const std::string& txt, int16_t offset);
    void CalcImgSz(int16_t offset);
    void DrawImage(bool state);
    void Chamfer();

    // The full repaint, on a surface the caller already holds (the paint event's, say).
    void Redraw(Canvas& canvas);

    int32_t LedWidth() const { return ledWidth_; }
    int32_t LedHeight() const { return ledHeight_; }
    Rgb FillRgb() const { return fillRgb_; }
    const Rect& TextRect() const { return textRect_; }
    int32_t ImgLeft() const { return imgLeft_; }
    int32_t ImgTop() const { return imgTop_; }
    int32_t ImgWidth() const { return imgWidth_; }
    int32_t ImgHeight() const { return imgHeight_; }

  private:
    void Redraw();
    void ShowCaption(Canvas& canvas, const std::string& txt);
    void CentTxt(Canvas& canvas, const std::string& txt, int16_t offset);
    void CalcImgSz(Canvas& canvas, int16_t offset);
    void DrawImage(Canvas& canvas, bool state);
    void Chamfer(Canvas& canvas);

    LedHost& host_;
    int32_t ledHeight_ = 0;
    int32_t ledWidth_ = 0;
    Rect clientRect_;
    Rect textRect_;
    Rgb fillRgb_ = 0;
    OleColor fillColor_ = 0;
    OleColor backColor_ = 0;
    std::string caption_;
    PicturePtr backdrop_;
    int32_t imgLeft_ = 0;
    int32_t imgTop_ = 0;
    int32_t imgWidth_ = 0;
    int32_t imgHeight_ = 0;
    bool enabled_ = false;
    int16_t offset_ = 0;
};

} // namespace gk

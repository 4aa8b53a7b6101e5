#pragma once
namespace skylet::platform {

// Size of the primary screen in twips (1440 to the inch).
class Screen {
 public:
  virtual ~Screen() = default;
  virtual int WidthTwips() = 0;
  virtual int HeightTwips() = 0;
};

}  // namespace skylet::platform

#include "screen/x11_visual.h"

namespace skyfare {

bool visualMatchesRgb32(const xcb_setup_t* setup, std::uint8_t depth, xcb_visualid_t visual) {
  if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || depth != 24)
    return false;
  bool thirtyTwoBits = false;
  for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
       xcb_format_next(&formats)) {
    if (formats.data->depth == depth)
      thirtyTwoBits = formats.data->bits_per_pixel == 32;
  }
  if (!thirtyTwoBits)
    return false;
  for (auto screens = xcb_setup_roots_iterator(setup); screens.rem; xcb_screen_next(&screens)) {
    for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem;
         xcb_depth_next(&depths)) {
      for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
           xcb_visualtype_next(&visuals)) {
        const xcb_visualtype_t& type = *visuals.data;
        if (type.visual_id == visual)
          return type._class == XCB_VISUAL_CLASS_TRUE_COLOR && type.red_mask == 0xFF0000 &&
                 type.green_mask == 0x00FF00 && type.blue_mask == 0x0000FF;
      }
    }
  }
  return false;
}

}  // namespace skyfare

// The text library the message box draws with (pango over cairo), loaded when the first box
// is shown rather than when the program starts: it brings GLib, GObject, fontconfig, freetype,
// harfbuzz and more, about 4 MiB of a process, which a run that shows no box (every run on X11,
// nearly every run on Wayland) should not carry. The members bear the names of the library's
// functions, so that a call reads as the library's own documentation writes it.
#ifndef VURAZEVEDADAR_WAYLAND_TEXTLIB_H
#define VURAZEVEDADAR_WAYLAND_TEXTLIB_H

#include <pango/pangocairo.h>

namespace wayland {

struct CTextLibrary {
    decltype(&::cairo_create) cairo_create;
    decltype(&::cairo_destroy) cairo_destroy;
    decltype(&::cairo_image_surface_create) cairo_image_surface_create;
    decltype(&::cairo_image_surface_create_for_data) cairo_image_surface_create_for_data;
    decltype(&::cairo_move_to) cairo_move_to;
    decltype(&::cairo_paint) cairo_paint;
    decltype(&::cairo_rectangle) cairo_rectangle;
    decltype(&::cairo_scale) cairo_scale;
    decltype(&::cairo_set_line_width) cairo_set_line_width;
    decltype(&::cairo_set_source_rgb) cairo_set_source_rgb;
    decltype(&::cairo_stroke) cairo_stroke;
    decltype(&::cairo_surface_destroy) cairo_surface_destroy;
    decltype(&::cairo_surface_flush) cairo_surface_flush;
    decltype(&::g_free) g_free;
    decltype(&::g_object_unref) g_object_unref;
    decltype(&::g_utf8_make_valid) g_utf8_make_valid;
    decltype(&::pango_cairo_create_layout) pango_cairo_create_layout;
    decltype(&::pango_cairo_show_layout) pango_cairo_show_layout;
    decltype(&::pango_font_description_free) pango_font_description_free;
    decltype(&::pango_font_description_from_string) pango_font_description_from_string;
    decltype(&::pango_layout_get_pixel_size) pango_layout_get_pixel_size;
    decltype(&::pango_layout_set_ellipsize) pango_layout_set_ellipsize;
    decltype(&::pango_layout_set_font_description) pango_layout_set_font_description;
    decltype(&::pango_layout_set_height) pango_layout_set_height;
    decltype(&::pango_layout_set_text) pango_layout_set_text;
    decltype(&::pango_layout_set_width) pango_layout_set_width;
    decltype(&::pango_layout_set_wrap) pango_layout_set_wrap;
};

// The library, loaded on the first call; null when it is not installed or lacks a function,
// and the box then stays unshown (its text is on stderr already).
const CTextLibrary* TextLibrary();

}  // namespace wayland

#endif  // VURAZEVEDADAR_WAYLAND_TEXTLIB_H

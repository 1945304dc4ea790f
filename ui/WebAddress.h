#pragma once

// The maker's web page, opened from the logo and the link under each page.
inline constexpr const char kWebAddress[] = "https://tessaglyph.example/";

#pragma once

namespace vignetta::product {

// The program's identity: shown on the About panel and in the window title, and written at the
// foot of every page it creates.
inline constexpr char kName[] = "Vignetta";
inline constexpr char kVersion[] = "1.0";
inline constexpr char kWindowTitle[] = "Vignetta 1.0";
inline constexpr char kVersionText[] = "version 1.0";
inline constexpr char kMakerEmail[] = "vignetta@example.org";
inline constexpr char kHomePage[] = "https://vignetta.example.org/";

} // namespace vignetta::product

#pragma once

// The program's title: the window's caption, the task bar's name and the
// caption of the default error box.
namespace pomvella {

inline constexpr char kApplicationTitle[] = "Pomvella - キャラクタ画像作成ツール for Ruvelle";

}  // namespace pomvella

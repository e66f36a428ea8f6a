#pragma once
// Windows font names mapped onto installed families, so texts look the same on every machine.

namespace tervolin::platform {

/// 宋体/SimSun → AR PL UMing CN, 楷体_GB2312/楷体/KaiTi → AR PL UKai CN, Tahoma → DejaVu Sans.
void installFontSubstitutions();

}  // namespace tervolin::platform

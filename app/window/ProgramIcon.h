#pragma once

#include <QIcon>
#include <QImage>

namespace pomvella {

// The program's icon: one 32x32 picture in the 16 standard colours, a
// portrait on lime, the colour the tool paints its pictures' backgrounds.
QImage MakeProgramIconImage();
QIcon MakeProgramIcon();

}  // namespace pomvella

#pragma once
// What the processor offers beyond the baseline instruction set, asked once per process. The
// fast paths built for these extensions are chosen by them at run time; every such path gives
// the bits of the baseline one.

namespace oxw::numeric {

bool HasAvx2();
bool HasFma();

}  // namespace oxw::numeric

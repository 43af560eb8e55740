// Outline orientation: closed outlines turned counter-clockwise about a normal.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertexArray.h"

// Reverses the outline when it is closed and runs clockwise about `normal`; open outlines are left as they are.
// Returns true when the outline was reversed.
bool mav_vl_orient(CMavVertexArray& outline, const CMavVector3d& normal = CMavVector3d::kZAxis);

// The same for every outline of a region list.
void mav_vll_orient(CMavArrayTempl<CMavVertexArray>& outlines, const CMavVector3d& normal = CMavVector3d::kZAxis);

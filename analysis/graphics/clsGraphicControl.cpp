#include "clsGraphicControl.h"

clsGraphicControl::clsGraphicControl(clsQuorvelin2* root) : m_root(root) {}

#include "clsFileControl.h"

clsFileControl::clsFileControl(clsQuorvelin2* root) : m_root(root) {}

#include "clsConfigControl.h"

clsConfigControl::clsConfigControl(clsQuorvelin2* root) : m_root(root) {}

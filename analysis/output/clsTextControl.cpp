#include "clsTextControl.h"

clsTextControl::clsTextControl(clsQuorvelin2* root) : m_root(root) {}

#include "clsHtmlControl.h"

clsHtmlControl::clsHtmlControl(clsQuorvelin2* root) : m_root(root) {}

#pragma once

#include "clsNameData.h"

#include <QString>

#include <memory>

// A result typed in by hand for a runner without a card read.
class clsOtherResultData {
public:
    QString CourseName;
    bool IsNotCompete = false;
    clsNameDataPtr NameData = std::make_shared<clsNameData>(); // EcardNo stays 0
    QString Result;
};

using clsOtherResultDataPtr = std::shared_ptr<clsOtherResultData>;

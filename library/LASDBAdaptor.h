// The file adaptor for LAS files: a row from the well-information lines of the header.
#pragma once

#include "core/LasWellValues.h"
#include "library/ILogFileDBAdaptor.h"

class LASDBAdaptor : public ILogFileDBAdaptor {
public:
    LASDBAdaptor();
    ~LASDBAdaptor() override = default;

    // Reads the header only; 1 when the file cannot be opened or its header read.
    int GetFileValues(const std::string& path) override;

private:
    LasWellValueReader reader_;
};

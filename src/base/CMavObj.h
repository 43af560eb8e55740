// Common base of the library's value classes.
#pragma once

class CMavObj {
public:
    virtual ~CMavObj() = default;
};

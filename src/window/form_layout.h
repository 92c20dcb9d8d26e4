#pragma once

namespace tarvex {

// The window geometry the resize rule reads and writes, in twips.
class FormLayout {
public:
    virtual ~FormLayout() = default;

    virtual bool IsMinimised() const = 0;
    virtual float ClientWidth() const = 0;
    virtual float ClientHeight() const = 0;
    virtual float ListLeft() const = 0;
    virtual float ListTop() const = 0;
    // Each refuses a negative size and returns false, leaving the list as it was.
    virtual bool SetListWidth(float twips) = 0;
    virtual bool SetListHeight(float twips) = 0;
};

}  // namespace tarvex

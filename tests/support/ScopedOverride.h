// Sets a global for the length of a scope and gives it its old value back,
// even when the test fails out of the scope.
#pragma once

template <typename T>
class CScopedOverride
{
public:
    CScopedOverride(T& target, const T& value) : m_target(target), m_saved(target) { m_target = value; }
    ~CScopedOverride() { m_target = m_saved; }
    CScopedOverride(const CScopedOverride&) = delete;
    CScopedOverride& operator=(const CScopedOverride&) = delete;

private:
    T& m_target;
    T m_saved;
};

// Per-thread wrappers for handles that no framework object owns. A wrapper
// lives until its thread ends, so a pointer handed out stays valid through
// nested message loops; it never destroys the handle it wraps.
#pragma once

#include <map>
#include <memory>

template <class TObject, class THandle>
class CAfxTempMap
{
public:
    // attach(obj, h) fills the wrapper; release(obj) empties it without
    // destroying the handle.
    template <class FAttach>
    static TObject* Lookup(THandle h, FAttach attach)
    {
        if (h == NULL)
            return NULL;
        Map& m = Get();
        auto it = m.find(h);
        if (it != m.end())
            return it->second.get();
        TObject* p = new TObject;
        attach(p, h);
        m[h].reset(p);
        return p;
    }

private:
    struct Releaser
    {
        void operator()(TObject* p) const
        {
            TObject::AfxReleaseTemp(p);
            delete p;
        }
    };
    typedef std::map<THandle, std::unique_ptr<TObject, Releaser>> Map;
    static Map& Get()
    {
        static thread_local Map map;
        return map;
    }
};

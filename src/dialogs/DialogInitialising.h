// The flag a setup dialog raises while it fills its own fields (or handles one change that
// refills others), so that the change handlers stay quiet.
#pragma once

class DialogInitialising
{
public:
    /** Raises the flag for the life of the scope; nested scopes keep it raised. */
    class Scope
    {
    public:
        explicit Scope(DialogInitialising& flag) : flag_(flag), was_(flag.on_) { flag_.on_ = true; }
        ~Scope() { flag_.on_ = was_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        DialogInitialising& flag_;
        bool was_;
    };

    /** True while the handlers must do nothing. */
    bool on() const { return on_; }
    explicit operator bool() const { return on_; }

private:
    bool on_ = false;
};

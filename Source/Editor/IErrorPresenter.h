// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/** Where the GUI's actions report a failure to the user: in the editor, the
    main component's asynchronous "Error" alert. Callable from any thread (the
    transfer completion callbacks run on the service's worker). It does not
    log; the callers log through Tessarine::makeError where they should. */
class IErrorPresenter
{
public:
    virtual ~IErrorPresenter() = default;

    virtual void showError (const char* text) = 0;
};

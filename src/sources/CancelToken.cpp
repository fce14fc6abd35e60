#include "CancelToken.h"

CancelToken::CancelToken(std::shared_ptr<CancelState> state)
    : m_state(std::move(state))
{
}

bool CancelToken::isCancelled() const
{
    return m_state && m_state->fired;
}

CancelSource::CancelSource()
    : m_state(std::make_shared<CancelState>())
{
}

CancelSource::~CancelSource()
{
    cancel();
}

CancelToken CancelSource::token() const
{
    return CancelToken(m_state);
}

void CancelSource::cancel()
{
    if (m_state->fired)
        return;
    m_state->fired = true;
    emit m_state->cancelled();
}

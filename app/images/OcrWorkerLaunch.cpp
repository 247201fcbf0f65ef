#include "app/images/OcrWorkerLaunch.h"

#include "app/images/OcrApplicationLink.h"
#include "platform/events/OcrProtocol.h"

OcrWorkerLaunch::OcrWorkerLaunch(int index) : m_index(index)
{
    if (isOcrWorkerRunning(m_index))
        m_state = State::Ready;
    else if (!startOcrWorker(m_index))
        m_state = State::Failed;
    else
        send(ocr::kEventOpen);
}

OcrWorkerLaunch::~OcrWorkerLaunch()
{
    finish();
}

OcrWorkerLaunch::State OcrWorkerLaunch::poll()
{
    if (hasAnswer())
        take();
    return m_state;
}

OcrWorkerLaunch::State OcrWorkerLaunch::finish()
{
    while (m_state == State::Opening)
        take();
    return m_state;
}

void OcrWorkerLaunch::send(uint32_t eventId)
{
    const OcrParamSlot none{ocr::kKeyUnused, nullptr, 0};
    int16_t error = 0;
    m_event = eventId;
    m_exchange = PLStartEventOnOCRWorker(m_index, eventId, none, none, none, &error);
    if (!m_exchange) {
        stopOcrWorker(m_index);
        m_state = State::Failed;
    }
}

void OcrWorkerLaunch::take()
{
    int32_t status = 0;
    const int16_t error = PLFinishEventOnOCRWorker(m_index, *m_exchange, &status, {ocr::kKeyUnused, nullptr}, {ocr::kKeyUnused, nullptr});
    m_exchange.reset();
    if (error != 0 || status != 0) {
        stopOcrWorker(m_index);
        m_state = State::Failed;
    } else if (m_event == ocr::kEventOpen) {
        send(ocr::kEventIsOk);
    } else {
        m_state = State::Ready;
    }
}

#include "serial/comporttypes.h"

#include "platform/win32/comm.h"

#include <gtest/gtest.h>

TEST(ComPortTypes, EventSetsAndWin32MasksConvertBothWays) {
    EXPECT_EQ(EventsToInt(AllComEvents), 0x05FFu);
    EXPECT_EQ(EventsToInt({evRxChar, evTxEmpty, evRxFlag}), EV_RXCHAR | EV_TXEMPTY | EV_RXFLAG);
    EXPECT_EQ(EventsToInt({evRing, evError, evRx80Full}), EV_RING | EV_ERR | EV_RX80FULL);
    EXPECT_EQ(EventsToInt({}), 0u);
    EXPECT_EQ(IntToEvents(EV_RLSD | EV_CTS | EV_PERR), (TComEvents{evRLSD, evCTS}));
    EXPECT_EQ(IntToEvents(0x05FF), AllComEvents);
}

TEST(ComPortTypes, ErrorSetTexts) {
    EXPECT_EQ(ComErrorsToStr({}), u"<Ok>");
    EXPECT_EQ(ComErrorsToStr({ceOverrun, ceFrame}), u"<ComError:Frame,Overrun>");
    EXPECT_EQ(ComErrorsToStr({ceTxFull, ceRxParity, ceIO}), u"<ComError:Parity,IO,TxFull>");
}

#include <gtest/gtest.h>

#include "report/reports.h"
#include "report_fixture.h"

namespace veka {

namespace {

class ReportConsoleTest : public ReportFixture {
 protected:
  // The summary as the reports write it: after the empty line and the line
  // naming the data report.
  std::string summary() {
    set_totals();
    console::Capture capture;
    write_reports();
    std::string text = capture.text();
    std::string opening = "\r\n" + scratch("W7_r1_Data.csv") + "     V1.3 Nov.22/04\r\n";
    EXPECT_EQ(text.substr(0, opening.size()), opening);
    return text.substr(opening.size());
  }
};

TEST_F(ReportConsoleTest, DepthProfileSummary) {
  EXPECT_EQ(summary(),
            "SEP(+MEP)data Depth Profile   3-12m VEKA Speed Smode 2\r\n"
            "Tot. cts      1234  Areal cts (/m2)     5679  Water Vol   0.500m3\r\n"
            "Filt. cts       99  Areal cts     1980  Depth range  3-12.0Diam.range0.10-4.00\r\n"
            "Diam. bins      100-250  250-500  500-1000  1000-2000  2000-4000  \r\n"
            "Binned cts           10       20       30       40       50    Sum       150\r\n"
            "Areal cts bins (/m2)       20       40       60       80      100    Sum       300\r\n"
            "Tot. biomass    12.3 mg  Areal biomass       2.5 gm/m2 Water Vol   0.500 m3\r\n"
            "Filt. biomass    6.2 mg Areal biomass   1.3 gm/m2Depths  3-12.0Diams0.10-4.00\r\n"
            "Diam. bins      100-250  250-500  500-1000  1000-2000  2000-4000  \r\n"
            "Binned biomass      1.5      2.0      3.0      4.0      5.0 mg     Sum    15.5\r\n"
            "Areal biomass       3.0      4.0      6.0      8.0     10.0  gms/m2 Sum    31.0\r\n"
            "MEP data  Depth Profile    3-12 m\r\n"
            "Tot. cts           7\r\n"
            "Filt. cts          5  Depth range  3-  12.0  Diam.range0.10-4.00\r\n"
            "Diam. bins      100-250 250-500 500-1000 1000-2000 2000-4000 \r\n"
            "Binned cts           1       2       3       0       1\r\n"
            "Tot. biomass       0.75 mg\r\n"
            "Filt. biomass      0.50 mg  Depth range  3-  12.0  Diam.range0.10-4.00\r\n"
            "Diam. bins      100-250 250-500 500-1000 1000-2000 2000-4000 \r\n"
            "Binned biomass     0.1     0.2     0.3     0.0     0.4 mg     Sum     1.0\r\n"
            "Areal biomass      0.2     0.4     0.6     0.0     0.8 gms/m2 Sum    2.0\r\n"
            "Shape - Cts   4    2    1 Biomass   0.3   0.2   0.1 CorBio   14 L/D 2.50\r\n"
            "MEP rejects       2  NBSS1234.6  0.50  0.251000.0   234.6  17");
}

TEST_F(ReportConsoleTest, TimeIntervalSummaryEndsWithAnOpenLine) {
  use_time_intervals();
  EXPECT_EQ(summary(),
            "SEP(+MEP)data Intervals Range   3-12sec, Sample Cts 100 - 2000 VEKA Speed Smode 0\r\n"
            "Tot. cts      1234,   Water Vol   0.500m3     Interval=    2 sec\r\n"
            "Filt. cts       99  Intervals range=  3-12.0  Diam.range0.10-4.00\r\n"
            "Diam. bins      100-250  250-500  500-1000  1000-2000  2000-4000  \r\n"
            "Binned cts           10       20       30       40       50    Sum       150\r\n"
            "Tot. biomass    12.3 mg   Water Vol   0.500 m3\r\n"
            "Filt. biomass    6.2 mgIntervals Range=  3-12.0   Diams0.10-4.00\r\n"
            "Diam. bins      100-250  250-500  500-1000  1000-2000  2000-4000  \r\n"
            "Binned biomass      1.5      2.0      3.0      4.0      5.0 mg     Sum    15.5\r\n"
            "\r\n"
            "MEP data-Intervals Range=   3-12\r\n"
            "Tot. cts           7\r\n"
            "Filt. cts          5  Intervals Range=  3-  12.0  Diam.range0.10-4.00\r\n"
            "Diam. bins      100-250 250-500 500-1000 1000-2000 2000-4000 \r\n"
            "Binned cts           1       2       3       0       1\r\n"
            "Tot. biomass       0.75 mg\r\n"
            "Filt. biomass      0.50 mg  Intervals Range=  3-  12.0  Diam.range0.10-4.00\r\n"
            "Diam. bins      100-250 250-500 500-1000 1000-2000 2000-4000 \r\n"
            "Binned biomass     0.1     0.2     0.3     0.0     0.4 mg     Sum     1.0\r\n"
            "\r\n"
            "Shape - Cts   4    2    1 Biomass   0.3   0.2   0.1 CorBio   14 L/D 2.50\r\n"
            "MEP rejects       2  NBSS1234.6  0.50  0.251000.0   234.6  17");
}

}  // namespace

}  // namespace veka

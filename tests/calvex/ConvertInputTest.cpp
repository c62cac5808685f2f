#include "calvex/ConvertInput.h"

#include "support/ConverterCheck.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

using namespace calvex;
using namespace calvex::test;

class ConvertInputTest : public ::testing::Test {
protected:
    TRPG3ConvertInput C;
    std::string Convert(const std::string& line) { return C.ConvertLine(line); }
};

TEST_F(ConvertInputTest, DataStructuresAndRecords) {
    std::string ds = SpecLine('I', {{7, "MYDS"}, {19, "DS"}});
    EXPECT_EQ(Convert(ds), "    DS(MYDS)");
    EXPECT_TRUE(RoundTrips(C, ds));
    std::string ext = SpecLine('I', {{7, "PSDS"}, {17, "ESDS"}, {21, "Y2PGDSPK"}, {44, "   2"}});
    EXPECT_EQ(Convert(ext), "    DS(PSDS,E,S,Y2PGDSPK,2)");
    EXPECT_TRUE(RoundTrips(C, ext));
    std::string record = SpecLine('I', {{7, "RCUST"}, {19, "01"}});
    EXPECT_EQ(Convert(record), "    Record(RCUST,01)");
    ResultLine r = CompileWith(C, Convert(record));
    EXPECT_EQ(ColumnsOf(r.Text, 7, 20), "RCUST       01");
}

TEST_F(ConvertInputTest, RecordIdentificationLines) {
    std::string fileRec = SpecLine('I', {{7, "CARDS   NS  01"}, {21, "   1 CA"}});
    EXPECT_EQ(Convert(fileRec), "    FileRec(CARDS,NS,,,01,1,,C,A)");
    EXPECT_TRUE(RoundTrips(C, fileRec));
    std::string andLine = SpecLine('I', {{14, "AND"}, {21, "   2NCB"}});
    std::string orLine = SpecLine('I', {{14, "OR"}, {21, "   2 CB"}});
    std::string a = Convert(andLine);
    std::string o = Convert(orLine);
    EXPECT_EQ(a, "     AndRec(2,N,C,B)");
    EXPECT_EQ(o, "      OrRec(2,,C,B)");
    // Both opening parentheses stand in the same column.
    EXPECT_EQ(a.find('('), o.find('('));
    EXPECT_TRUE(RoundTrips(C, andLine));
    EXPECT_TRUE(RoundTrips(C, orLine));
}

TEST_F(ConvertInputTest, FieldsConstantsAndRenames) {
    std::string field = SpecLine('I', {{44, "   1  10"}, {53, "NAME"}});
    EXPECT_EQ(Convert(field), "        Field(NAME,1,10)");
    EXPECT_TRUE(RoundTrips(C, field));
    std::string packed = SpecLine('I', {{43, "P  11  152AMOUNTL1  01"}});
    EXPECT_EQ(Convert(packed), "        Field(AMOUNT,11,15,P,2,L1,,01)");
    EXPECT_TRUE(RoundTrips(C, packed));
    std::string element = SpecLine('I', {{44, "   1   5"}, {53, "ARR,5"}});
    EXPECT_EQ(Convert(element), "        Field(ARR[5],1,5)");
    EXPECT_EQ(ColumnsOf(CompileWith(C, Convert(element)).Text, 53, 58), "ARR,5 ");

    // Without a from position the line is a rename, or raw when that does not fit either.
    std::string rename = SpecLine('I', {{21, "CUSTNAME"}, {53, "CNAME"}});
    EXPECT_EQ(Convert(rename), "        RenFld(CUSTNAME,CNAME)");
    EXPECT_TRUE(RoundTrips(C, rename));
    std::string noFrom = SpecLine('I', {{48, "  10"}, {53, "NAME"}});
    EXPECT_EQ(Convert(noFrom), "RPG(" + noFrom.substr(5) + ")");
    EXPECT_TRUE(RoundTrips(C, noFrom));

    std::string constant = SpecLine('I', {{21, "'A,b c'"}, {43, "C"}, {53, "KONST"}});
    EXPECT_EQ(Convert(constant), "        Const(KONST,C,'A,b c')");
    EXPECT_TRUE(RoundTrips(C, constant));
    std::string numeric = SpecLine('I', {{21, "12345"}, {43, "C"}, {53, "MAXVAL"}});
    EXPECT_EQ(Convert(numeric), "RPG(" + numeric.substr(5) + ")");
    EXPECT_TRUE(RoundTrips(C, numeric));
}

TEST_F(ConvertInputTest, CompileChecks) {
    EXPECT_EQ(CompileWith(C, "Field(X[1,1,5)").Text, "**ERROR: Bad parameter!");
    EXPECT_EQ(CompileWith(C, "Field(X,A,5)").Text, "**ERROR: Param N.2 must be of integer type!");
    EXPECT_EQ(CompileWith(C, "LField(X)").Text,
              "**ERROR: Operating code not allowed for this section!");
    EXPECT_EQ(CompileWith(C, "DS(LONGNAME)").Text, "**ERROR: Param N.1 too long!");
}

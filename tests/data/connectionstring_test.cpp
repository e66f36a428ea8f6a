#include <gtest/gtest.h>

#include "platform/data/connectionstring.h"

using namespace tervolin::platform::data;

TEST(ConnectionString, DataSourceWithAndWithoutBlanksAroundEquals)
{
    struct Case { const char* text; const char* dataSource; };
    const Case cases[] = {
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source = C:\\Tools\\Lookup\\db1.mdb", "C:\\Tools\\Lookup\\db1.mdb"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Tools\\Lookup\\db1.mdb;Persist Security Info=False", "C:\\Tools\\Lookup\\db1.mdb"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\\\db1.mdb;Persist Security Info=False", "D:\\\\db1.mdb"},
        {"provider=x;DATA SOURCE  =  /opt/t/db1.mdb", "/opt/t/db1.mdb"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataSourceOf(QString::fromUtf8(c.text)), QString::fromUtf8(c.dataSource)) << c.text;
    EXPECT_TRUE(dataSourceOf(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0")).isNull());
}

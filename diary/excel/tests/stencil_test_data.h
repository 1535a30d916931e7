#pragma once
// The small directory and configuration the stencil tests build their
// stencil over; the committed stencil fixtures (stencil_small.xml and the
// copy LibreOffice Calc filled) were made from them.
namespace {
// Service points, workers and materials, with what the stencil leaves out:
// hidden rows, folders, a consultation not counted by code, and a
// consultation counted by code that has no other flag.
const char* const kDirectory =
    "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nSpecFlags) VALUES "
    "(1,0,0,'Пункт «Центр»',1,1,0,0),"
    "(2,0,0,'Пункт Север',1,1,0,0),"
    "(3,0,0,'Скрытый пункт',1,1,1,0),"
    "(4,0,1,'Папка пунктов',1,0,0,0),"
    "(5,0,0,'Иванова А. & Ко',2,0,0,0),"
    "(6,0,0,'Петров Б.',2,0,NULL,0),"
    "(7,0,0,'Уволенный В.',2,0,1,0),"
    "(8,0,1,'Папка работников',2,0,0,0),"
    "(9,0,0,'Шприц 2 мл & игла',3,65537,0,0),"
    "(10,0,0,'Буклет <Здоровье>',3,327681,0,0),"
    "(11,0,0,'Консультация',3,458753,0,11),"
    "(12,0,0,'Консультация врача',3,458753,0,2),"
    "(13,0,0,'Тест на ВИЧ',3,458753,0,1),"
    "(14,0,0,'Презерватив',3,524289,0,0),"
    "(15,0,0,'Скрытый материал',3,65538,1,0),"
    "(16,0,1,'Папка материалов',3,0,0,0)";

const char kConfiguration[] = "<CONFIGURATION><LANGUAGE><PRJLIST>"
                              "<Item ID='1' Title='Проект «Альфа»'/>"
                              "<Item ID='2' Title='Проект Бета'/>"
                              "</PRJLIST></LANGUAGE></CONFIGURATION>";

} // namespace

// A library under SDL's name that holds none of SDL's functions.
extern "C" int notSdl()
{
    return 0;
}

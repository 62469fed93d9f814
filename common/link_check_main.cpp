// Linked with the whole of one core library and only the layers it declares:
// the link fails when the library calls into a layer above it.
int main()
{
    return 0;
}
